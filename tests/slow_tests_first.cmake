# ctest starts the costliest tests first, by what each took when it last ran; a fresh
# tree has no such record and would start these, the slowest by far (natively or under
# emulation), among the last and then wait on them alone. Slowest first; a name that a
# tree leaves out is passed over.
cmake_policy(VERSION 3.20)
set(slowest_first
    LessonCommand.WritesThePageAndFiguresThatAreCompares
    SampleFiles.TheLowDoseHeadAndTheHalfCutFiltersAreTheSameBytesEverywhere
    DataTool.HoldsUpAgainstHostileUse
    DataTool.EveryFilterKindIsMadeAndNamedAsItsRowSays
    Contamination.EachSharesIsItsFractionAndTheCorrectionGivesBackThePlainCounts
    Mlem.PiecesRebuiltAtOnceOnThreadsAreTheBitsOfEachAlone
    DataTool.TheTradeoffWritesTheSameBytesWhateverTheWorkers
    DataTool.EveryEffectIsUndoneByTheCorrectionsAndByMlemsModel
    Contamination.MlemWithTheEffectsInItsModelRebuildsThePlainImage
    DataTool.TheTradeoffTableHasARowForEachMethodAndIteration
    DataTool.RefusesEachBadArgumentOrFileInOneLineAndLeavesNothingBehind
    Ensemble.FiguresOfKnownEnsembles)
list(LENGTH slowest_first cost)
foreach(test IN LISTS slowest_first)
  set_tests_properties(${test} PROPERTIES COST ${cost})
  math(EXPR cost "${cost} - 1")
endforeach()

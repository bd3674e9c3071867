// The dialogue's questions and headings as the console shows them, one row each: the
// workflow prints them, and the driver that plays the user waits for them.
#pragma once

enum DialoguePrompt {
    PromptBanner,
    PromptLoadVolume,
    PromptChooseAgain,
    PromptDispProjection,
    PromptSelectSlice,
    PromptSelectOk,
    PromptReconOk,
    PromptLoadFilter,
    PromptFilterOk,   // a format: the filter file's path
    PromptMethod,
    PromptDispFiltered,
    PromptChangeSlice,
    PromptRetry,
    PromptCount
};

// "Singram" and the other oddities are the questions as they have always been asked:
// kept on purpose.
inline constexpr const char *DialoguePrompts[PromptCount] = {
    "PET BackProjection",
    "\n\n Load PET Singram data ",
    "\n (enter: choose a file again) ",
    "\n\nDisp Projection ",
    "\n\nselect slice = ",
    "\n\nselect slice OK ? ",
    "\nReconstruction slice OK? \n(yes: enter, no: n) ",
    "\n\n Load Real space Filter ",
    "\n\n Real space filter = \n\n %s \n OK ? (yes; enter, no; n ) ",
    "\n\n Select Reconstruction method \n\n 1: Simple BackProjection \n 2: Filtered BackProjection \n ",
    "\n\n Disp Filtered Pth * Filter ",
    "\n Change Reconstruction Slice ? \n (yes: enter, no: n) ",
    "\n\n Retry? (no:n) ",
};

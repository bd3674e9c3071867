// The dialogue's questions as the console shows them, for the tests that drive it. Typed
// here again on purpose: a changed question fails these tests.
#pragma once
#include <string>

const std::string Banner = "PET BackProjection";
const std::string LoadVolume = "\n\n Load PET Singram data ";
const std::string ChooseAgain = "\n (enter: choose a file again) ";
const std::string DispProjection = "\n\nDisp Projection ";
const std::string SelectSlice = "\n\nselect slice = ";
const std::string SelectOk = "\n\nselect slice OK ? ";
const std::string ReconOk = "\nReconstruction slice OK? \n(yes: enter, no: n) ";
const std::string LoadFilterAsk = "\n\n Load Real space Filter ";
const std::string MethodAsk =
    "\n\n Select Reconstruction method \n\n 1: Simple BackProjection \n 2: Filtered BackProjection \n ";
const std::string DispFiltered = "\n\n Disp Filtered Pth * Filter ";
const std::string ChangeSlice = "\n Change Reconstruction Slice ? \n (yes: enter, no: n) ";
const std::string Retry = "\n\n Retry? (no:n) ";

const std::string FilterOkQuestion = "\n OK ? (yes; enter, no; n ) ";   // after the path

inline std::string FilterOk(const std::string &path) {
    return "\n\n Real space filter = \n\n " + path + " " + FilterOkQuestion;
}
// A question answered by a typed line and Enter, as the console shows it.
inline std::string Asked(const std::string &prompt, const std::string &typed) { return prompt + typed + "\n"; }
inline std::string MaxCountLine(const char *printed) { return std::string("\n\n max count = ") + printed; }

// Samples 0..49 that differ between neighbouring bins, angles and slices.
inline float DialogueSample(int s, int a, int r) { return (float)((r * 3 + a + s) % 50); }

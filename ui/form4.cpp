#include "ui/form4.h"

namespace dilatany::ui {
namespace {

// Layout of the L-bend window, in twips.

constexpr InputPlace kGeometry[] = {
    // box, box top, tab, caption label, caption rect, unit label, unit top
    {14, 480, 19, 14, {360, 480, 1935, 255}, 0, 480},
    {13, 840, 20, 13, {360, 840, 1935, 255}, 4, 840},
    {12, 1320, 21, 8, {360, 1200, 1935, 375}, 3, 1200},
    {11, 1920, 22, 12, {360, 1920, 1935, 255}, 2, 1920},
    {10, 2280, 23, 11, {360, 2280, 1935, 255}, 6, 2280},
};
constexpr NotePlace kGeometryNotes[] = {
    {30, 12, {960, 1560, 1332, 252}, 7.8},
};

constexpr InputPlace kMaterial[] = {
    {0, 480, 11, 7, {360, 480, 1935, 495}, 16, 480},
    {1, 1080, 10, 15, {360, 1080, 1935, 255}, 17, 1080},
    {2, 1680, 8, 18, {360, 1680, 1935, 255}, 19, 1680},
};

constexpr InputPlace kTemperatures[] = {
    {3, 360, 2, 20, {360, 360, 1935, 255}, 22, 360},
    {4, 720, 1, 21, {360, 720, 1935, 255}, 23, 720},
};

constexpr InputGroupPlace kGroups[] = {
    // name, rect, box left, box width, unit left
    {"Frame1", {360, 360, 4335, 4095}, 2640, 735, 3600, kGeometry, kGeometryNotes},
    {"Frame2(0)", {5160, 360, 4575, 2655}, 2520, 1095, 3720, kMaterial, {}},
    {"Frame3", {5160, 3240, 4575, 1215}, 2520, 1095, 3720, kTemperatures, {}},
};

const CalculationLayout kLayout{
    .shape = Shape::LBend,
    .objectName = "Form4",
    .title = "Dilatan L",
    .clientWidth = 10092,
    .clientHeight = 8268,
    .menuName = "Data",
    .saveCaption = "&Ulozit",
    .loadCaption = "&Nacist",
    .groups = kGroups,
    .materialGroup = 1,
    .materialButton = {{240, 2040, 1335, 375}, 9},
    .calculateButton = {{5280, 4800, 1935, 495}, 34},
    .exitButton = {{8160, 4800, 1575, 495}, 41},
    .picture = {360, 4920, 4305, 2880},
    .drawing = ":/drawings/lbend.svg",
    .resultsGroup = {5160, 5520, 4575, 2535},
    .resultName = "Label2",
    .results = {{
        {{2880, 480, 855, 255}, 24, "Dovolene napětí", {720, 480, 1935, 255}, 27, "MPa"},
        {{2880, 960, 855, 255}, 25, "Napětí na dilatanu", {480, 960, 2175, 255}, 28, "MPa"},
        {{2880, 1440, 615, 255}, 26, "Rezerva napětí", {720, 1440, 1935, 255}, 29, "%"},
        {{1440, 2040, 2655, 255}},
    }},
    .resultUnitLeft = 3840,
    // The verdict first, then the three numbers.
    .writeOrder = {3, 0, 1, 2},
    .verdictAlignment = Qt::AlignLeft,
    .blankedOnInput = 1,
};

} // namespace

Form4::Form4(WindowRegistry &windows)
    : CalculationWindow(kLayout, windows)
{
}

} // namespace dilatany::ui

#include "ui/form2.h"

namespace dilatany::ui {
namespace {

// Layout of the U-loop window, in twips.

constexpr InputPlace kGeometry[] = {
    // box, box top, tab, caption label, caption rect, unit label, unit top
    {14, 480, 6, 14, {360, 480, 1935, 255}, 0, 480},
    {13, 840, 5, 13, {360, 840, 1935, 255}, 4, 840},
    {12, 1320, 4, 8, {360, 1200, 1932, 372}, 3, 1320},
    {5, 1920, 53, 12, {360, 1920, 1935, 255}, 2, 1920},
    {10, 2280, 3, 11, {360, 2280, 1935, 255}, 6, 2280},
    {9, 2640, 2, 10, {360, 2640, 1935, 255}, 5, 2640},
    {8, 3240, 1, 9, {600, 3240, 1815, 375}, 1, 3240, Qt::AlignLeft},
};
constexpr NotePlace kGeometryNotes[] = {
    {30, 12, {960, 1560, 1332, 252}, 7.8},
};

constexpr InputPlace kMaterial[] = {
    {0, 480, 23, 7, {480, 480, 1935, 495}, 16, 480},
    {1, 1080, 25, 15, {360, 1080, 1935, 255}, 17, 1080},
    {2, 1680, 30, 18, {360, 1680, 1935, 255}, 19, 1680},
};

constexpr InputPlace kTemperatures[] = {
    {3, 360, 34, 20, {360, 360, 1935, 255}, 22, 360},
    {4, 720, 35, 21, {360, 720, 1935, 255}, 23, 720},
};

constexpr InputGroupPlace kGroups[] = {
    // name, rect, box left, box width, unit left
    {"Frame1", {360, 360, 4335, 4215}, 2640, 735, 3600, kGeometry, kGeometryNotes},
    {"Frame2(0)", {5280, 360, 4335, 2655}, 2520, 1095, 3720, kMaterial, {}},
    {"Frame3", {5280, 3360, 4335, 1215}, 2520, 495, 3240, kTemperatures, {}},
};

const CalculationLayout kLayout{
    .shape = Shape::ULoop,
    .objectName = "Form2",
    .title = "Dilatan U",
    .clientWidth = 9984,
    .clientHeight = 8256,
    .menuName = "data",
    .saveCaption = "&Uložit",
    .loadCaption = "&Načíst",
    .groups = kGroups,
    .materialGroup = 1,
    .materialButton = {{360, 2040, 1335, 375}, 29},
    .calculateButton = {{5280, 4920, 1815, 495}, 22},
    .exitButton = {{8040, 4920, 1575, 495}, 52},
    .picture = {360, 4920, 4320, 3120},
    .drawing = ":/drawings/uloop.svg",
    .resultsGroup = {5280, 5640, 4335, 2295},
    .resultName = "Label3",
    .results = {{
        {{2760, 480, 735, 255}, 24, "Dovolené napětí", {480, 480, 1935, 255}, 27, "MPa"},
        {{2760, 960, 735, 255}, 25, "Napětí na dilatanu", {240, 960, 2175, 255}, 28, "MPa"},
        {{2760, 1440, 735, 255}, 26, "Rezerva napětí", {480, 1440, 1935, 255}, 29, "%"},
        {{1320, 1800, 2535, 255}},
    }},
    .resultUnitLeft = 3600,
    .writeOrder = {0, 1, 2, 3},
    .verdictAlignment = Qt::AlignRight,
    .blankedOnInput = 0,
};

} // namespace

Form2::Form2(WindowRegistry &windows)
    : CalculationWindow(kLayout, windows)
{
}

} // namespace dilatany::ui

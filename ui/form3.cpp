#include "ui/form3.h"

namespace dilatany::ui {
namespace {

// Layout in twips; the focus starts on "Bez výběru", the lowest tab index.
const MaterialDialogLayout kLayout{
    .shape = Shape::ULoop,
    .objectName = "Form3",
    .clientWidth = 4596,
    .clientHeight = 3012,
    .steel = {{720, 360, 1515, 255}, 2},
    .polypropylene = {{720, 1080, 1575, 375}, 3},
    .ok = {{600, 2160, 1215, 375}, 1},
    .withoutChoice = {{2400, 2160, 1455, 375}, 0},
};

} // namespace

Form3::Form3(WindowRegistry &windows)
    : MaterialDialog(kLayout, windows)
{
}

} // namespace dilatany::ui

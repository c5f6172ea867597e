#include "ui/form5.h"

namespace dilatany::ui {
namespace {

// Layout in twips; the focus starts on "Polypropylen", which it does not select.
// "Bez výběru" does what it does on the U-loop dialog: it opens the
// calculation window and closes the dialog without writing.
const MaterialDialogLayout kLayout{
    .shape = Shape::LBend,
    .objectName = "Form5",
    .clientWidth = 4680,
    .clientHeight = 3192,
    .steel = {{720, 480, 1515, 255}, 1},
    .polypropylene = {{720, 1080, 1575, 375}, 0},
    .ok = {{600, 2160, 1215, 375}, 2},
    .withoutChoice = {{2400, 2160, 1455, 375}, 3},
};

} // namespace

Form5::Form5(WindowRegistry &windows)
    : MaterialDialog(kLayout, windows)
{
}

} // namespace dilatany::ui

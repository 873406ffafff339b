#pragma once
// Lays out the buttons of a button strip: the visible push buttons and flat
// speed buttons, in their left-to-right order, packed against the right
// edge with a gap of 40 % of their height after each, all as high as the
// rightmost one, and anchored to the right and bottom edges. The strip takes
// the buttons' height plus a margin above and below. Other children (labels,
// separator lines) stay where they are.
#include "ui/Panel.h"

namespace qv::wizard {

void LayoutButtonPanel(Panel& panel);

}  // namespace qv::wizard

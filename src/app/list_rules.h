#pragma once

class QWidget;

namespace kt730 {

// Gives every drop-down list under `root` the module window's list behaviour: a list whose text the
// engineer types so that it no longer matches the selected item has no item selected (index -1,
// the text kept), and typed texts are never added to the items.
void applyListRules(QWidget* root);

}  // namespace kt730

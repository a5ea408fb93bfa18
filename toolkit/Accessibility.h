#pragma once

namespace toolkit {

// What screen readers see of the toolkit's own widgets, through Qt's accessibility interface:
// image buttons are push buttons whose default action clicks them, forms are frames (dialogs for
// fixed dialogs) named by their captions, and a drop-down list is named by its label, not by
// its chosen item.
class Accessibility {
public:
    // Once per process, before the first widget is asked for; later calls do nothing.
    static void install();
};

} // namespace toolkit

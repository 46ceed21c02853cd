#pragma once
// Accessibility of the controls that have no widget of their own (internal to the widgetset). A
// container's widget is an accessible group whose children are its child widgets and then its
// graphic children that have something to read (TControl::GetAccessibleInfo): a key of a
// keyboard, a speed button. Screen readers and test tools see each as a button with a name, a
// screen rectangle, a press action and, for a switch that stays on, a checked state.

#include <QString>

class QWidget;

namespace vcl {
class TControl;
struct TAccessibleInfo;
} // namespace vcl

namespace vcl::qt {

// Registers the accessibility of container widgets with Qt; called once when the widgetset is
// installed.
void InstallAccessibility();
// What a person reads for a control: its caption as shown, or the spoken name when the caption
// shows symbols or nothing. Empty for a control that has nothing to read.
QString AccessibleName(const vcl::TControl* Control);
// A graphic child of Host's control was repainted: its name or checked state may have changed,
// and assistive technology that asked for it hears about it.
void AccessibleControlChanged(QWidget* Host, vcl::TControl* Child);
// A graphic child leaves Host's control: its accessible object goes with it.
void AccessibleControlRemoved(QWidget* Host, vcl::TControl* Child);

} // namespace vcl::qt

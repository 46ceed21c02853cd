#include "QuimbelKeyboardPlugin.h"

#include "qtkeyboard/QuimbelKeyboard.h"

#include <QIcon>

QString QuimbelKeyboardWidgetInterface::name() const { return QStringLiteral("QuimbelKeyboard"); }
QString QuimbelKeyboardWidgetInterface::group() const { return QStringLiteral("Touch Screen"); }

QString QuimbelKeyboardWidgetInterface::toolTip() const {
    return QStringLiteral("On-screen keyboard");
}

QString QuimbelKeyboardWidgetInterface::whatsThis() const {
    return QStringLiteral("An on-screen keyboard that types into the text widget it follows.");
}

QString QuimbelKeyboardWidgetInterface::includeFile() const {
    return QStringLiteral("QuimbelKeyboard");
}

QIcon QuimbelKeyboardWidgetInterface::icon() const { return QIcon(); }

QWidget* QuimbelKeyboardWidgetInterface::createWidget(QWidget* parent) {
    return new QuimbelKeyboard(parent);
}

// A new keyboard on a form follows the focus, which is what a form with text fields wants.
QString QuimbelKeyboardWidgetInterface::domXml() const {
    return QStringLiteral(R"(<ui language="c++">
 <widget class="QuimbelKeyboard" name="keyboard">
  <property name="geometry"><rect><x>0</x><y>0</y><width>740</width><height>240</height></rect></property>
  <property name="followFocus"><bool>true</bool></property>
 </widget>
</ui>
)");
}

QuimbelDesignerPlugins::QuimbelDesignerPlugins(QObject* parent) : QObject(parent) {
    widgets_.append(new QuimbelKeyboardWidgetInterface(this));
}

// Model changes reach the peers; popup menus, errors in handlers, font dialogs and freed modal
// forms behave under Qt as a user expects.
#include <QApplication>
#include <QFontDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QToolTip>
#include <gtest/gtest.h>

#include "ModalDriver.h"
#include "qt/QtWidgetset.h"
#include "rtl/CodePage.h"
#include "vcl/Buttons.h"
#include "vcl/Dialogs.h"
#include "vcl/ExtCtrls.h"
#include "vcl/Forms.h"
#include "vcl/Menus.h"
#include "vcl/ScrollBox.h"
#include "vcl/StdCtrls.h"

using namespace vcl;
using vcl::qt::WidgetOf;

namespace {

class QtPeers : public ::testing::Test {
protected:
    void SetUp() override {
        vcl::qt::InstallQtWidgetset();
        form_ = new TForm(nullptr);
        form_->SetBounds(30, 30, 400, 300);
    }
    void TearDown() override {
        delete form_;
        vcl::qt::UninstallQtWidgetset();
    }
    template <class T> T* Child(TWinControl* parent, int l, int t, int w, int h) {
        auto* c = new T(form_);
        c->SetParent(parent);
        c->SetBounds(l, t, w, h);
        return c;
    }
    TForm* form_ = nullptr;
};

} // namespace

TEST_F(QtPeers, ModelChangesReachTheWidgets) {
    auto* panel = Child<TPanel>(form_, 10, 10, 200, 100);
    auto* button = Child<TButton>(panel, 5, 5, 75, 25);
    auto* edit = Child<TEdit>(form_, 10, 150, 120, 21);
    form_->Show();
    QWidget* pw = WidgetOf(panel);
    EXPECT_EQ(pw->geometry(), QRect(10, 10, 200, 100));
    // The model keeps odd sizes as given; only the widget clamps them.
    panel->SetBounds(-20, 30, -5, 0);
    EXPECT_EQ(panel->GetWidth(), -5);
    EXPECT_EQ(pw->geometry(), QRect(-20, 30, 0, 0));
    panel->SetBounds(10, 10, 200, 100);
    EXPECT_EQ(pw->geometry(), QRect(10, 10, 200, 100));

    button->SetCaption("&Go");
    EXPECT_EQ(qobject_cast<QPushButton*>(WidgetOf(button))->text(), "&Go");
    button->SetEnabled(false);
    EXPECT_FALSE(WidgetOf(button)->isEnabled());
    panel->Hide();
    EXPECT_FALSE(pw->isVisible());
    panel->Show();
    EXPECT_TRUE(pw->isVisible());

    edit->GetFont()->SetSize(14);
    edit->GetFont()->SetStyle({fsBold});
    const QFont f = WidgetOf(edit)->font();
    EXPECT_TRUE(f.bold());
    EXPECT_EQ(f.pixelSize(), 19); // 14 points at 96 pixels per inch

    panel->SetColor(clYellow);
    EXPECT_EQ(pw->grab().toImage().pixelColor(100, 80), QColor(Qt::yellow));

    // Stacking follows the model: the panel brought to the front covers the edit.
    auto* cover = Child<TPanel>(form_, 0, 140, 200, 40);
    QWidget* window = WidgetOf(form_);
    EXPECT_EQ(window->childAt(20, 160), WidgetOf(cover));
    edit->BringToFront();
    EXPECT_EQ(window->childAt(20, 160)->window(), window);
    EXPECT_TRUE(window->childAt(20, 160) == WidgetOf(edit) ||
                WidgetOf(edit)->isAncestorOf(window->childAt(20, 160)));

    // A freed control takes its widget with it.
    QPointer<QWidget> gone = WidgetOf(cover);
    delete cover;
    EXPECT_TRUE(gone.isNull());
}

// The widgets are stacked as the model stacks the controls, above the widgets of the form that
// are no control's, whatever was stacked before.
TEST_F(QtPeers, WidgetsStackAsTheControlsDo) {
    std::vector<TPanel*> panels;
    for (int i = 0; i < 6; ++i)
        panels.push_back(Child<TPanel>(form_, 10 * i, 10 * i, 100, 100));
    form_->Show();
    QWidget* window = WidgetOf(form_);
    auto stacked = [&] { // the panels in the order of their widgets, bottom first
        std::vector<TPanel*> order;
        for (QObject* o : window->children())
            for (TPanel* p : panels)
                if (WidgetOf(p) == o) order.push_back(p);
        return order;
    };
    auto modelOrder = [&] {
        std::vector<TPanel*> order;
        for (int i = 0; i < form_->GetControlCount(); ++i)
            for (TPanel* p : panels)
                if (form_->GetControl(i) == p) order.push_back(p);
        return order;
    };
    EXPECT_EQ(stacked(), panels);
    panels[2]->BringToFront();
    EXPECT_EQ(stacked(), modelOrder());
    EXPECT_EQ(stacked().back(), panels[2]);
    panels[4]->SendToBack();
    EXPECT_EQ(stacked(), modelOrder());
    EXPECT_EQ(stacked().front(), panels[4]);
    WidgetOf(panels[0])->raise(); // out of order behind the model's back
    auto* foreign = new QLabel("foreign", window);
    foreign->setGeometry(0, 0, 400, 300);
    foreign->show();
    panels[1]->BringToFront();
    EXPECT_EQ(stacked(), modelOrder());
    EXPECT_EQ(window->children().indexOf(foreign),
              window->children().indexOf(WidgetOf(stacked().front())) - 1);
}

// A control with its parent's font follows the parent's changes; one with a font of its own
// keeps it, even when it is the parent's font at first.
TEST_F(QtPeers, WidgetsHaveTheFontsOfTheirControls) {
    form_->GetFont()->SetSize(10);
    auto* panel = Child<TPanel>(form_, 0, 0, 300, 200);
    auto* edit = Child<TEdit>(panel, 8, 8, 100, 24);
    auto* combo = Child<TComboBox>(panel, 8, 40, 100, 24);
    auto* own = Child<TEdit>(panel, 8, 72, 100, 24);
    own->SetParentFont(false); // the same font, its own
    form_->Show();
    auto size = [](TWinControl* c) { return WidgetOf(c)->font().pixelSize(); };
    const int ten = size(form_);
    EXPECT_EQ(size(edit), ten);
    EXPECT_EQ(size(combo), ten);
    EXPECT_EQ(size(own), ten);
    form_->GetFont()->SetSize(16);
    const int sixteen = size(form_);
    EXPECT_GT(sixteen, ten);
    EXPECT_EQ(size(panel), sixteen);
    EXPECT_EQ(size(edit), sixteen);
    EXPECT_EQ(size(combo), sixteen);
    EXPECT_EQ(size(own), ten);
    edit->GetFont()->SetSize(10);
    EXPECT_EQ(size(edit), ten);
    edit->SetParentFont(true);
    EXPECT_EQ(size(edit), sixteen);
}

TEST_F(QtPeers, ScreenPositionsOfTheModelMatchTheWidgets) {
    // The layout editor converts the real cursor with ScreenToClient: model and Qt must agree.
    auto* panel = Child<TPanel>(form_, 10, 20, 200, 100);
    form_->Show();
    EXPECT_EQ(form_->GetLeft(), 30);
    EXPECT_EQ(form_->GetTop(), 30);
    const QPoint formOrigin = WidgetOf(form_)->mapToGlobal(QPoint(0, 0));
    EXPECT_EQ(form_->ClientToScreen({0, 0}).X, formOrigin.x());
    EXPECT_EQ(form_->ClientToScreen({0, 0}).Y, formOrigin.y());
    const QPoint panelOrigin = WidgetOf(panel)->mapToGlobal(QPoint(0, 0));
    EXPECT_EQ(panel->ClientToScreen({0, 0}).X, panelOrigin.x());
    EXPECT_EQ(panel->ClientToScreen({0, 0}).Y, panelOrigin.y());
    // The window moved by the window manager (or the user): the model follows.
    WidgetOf(form_)->move(formOrigin + QPoint(15, 25));
    QCoreApplication::processEvents();
    EXPECT_EQ(panel->ClientToScreen({0, 0}).X, WidgetOf(panel)->mapToGlobal(QPoint(0, 0)).x());
    EXPECT_EQ(panel->ClientToScreen({0, 0}).Y, WidgetOf(panel)->mapToGlobal(QPoint(0, 0)).y());

    // A control hosted in a Qt window follows that window too.
    auto* hosted = new TPanel(nullptr);
    QWidget host;
    host.setGeometry(300, 200, 200, 100);
    QWidget* hw = WidgetOf(hosted);
    hw->setParent(&host);
    hw->move(7, 9);
    host.show();
    QCoreApplication::processEvents();
    host.move(320, 240);
    QCoreApplication::processEvents();
    EXPECT_EQ(hosted->ClientToScreen({0, 0}).X, hw->mapToGlobal(QPoint(0, 0)).x());
    EXPECT_EQ(hosted->ClientToScreen({0, 0}).Y, hw->mapToGlobal(QPoint(0, 0)).y());
    delete hosted;
}

TEST_F(QtPeers, AScrollBoxShowsItsBarsAboveTheChildrenAndScrollsByThem) {
    auto* box = Child<TScrollBox>(form_, 10, 10, 204, 104);
    auto* inner = Child<TPanel>(box, 0, 0, 150, 50);
    form_->Show();
    QWidget* bw = WidgetOf(box);
    const auto bars = [&] {
        std::vector<QScrollBar*> shown;
        for (QScrollBar* b : bw->findChildren<QScrollBar*>(Qt::FindDirectChildrenOnly))
            if (b->isVisibleTo(bw)) shown.push_back(b);
        return shown;
    };
    EXPECT_TRUE(bars().empty());
    // Taller than the box: a vertical bar along the right edge, inside the border, above a
    // child shown after it.
    inner->SetHeight(400);
    auto* late = Child<TPanel>(box, 0, 60, 300, 20);
    ASSERT_EQ(bars().size(), 2u);
    QScrollBar* v = bars()[0]->orientation() == Qt::Vertical ? bars()[0] : bars()[1];
    EXPECT_EQ(v->geometry(), QRect(2 + 184, 2, 16, 84));
    EXPECT_EQ(v->maximum(), 400 - 84);
    EXPECT_EQ(v->pageStep(), 84);
    EXPECT_GT(bw->children().indexOf(v), bw->children().indexOf(WidgetOf(late)));
    // The user drags the bar: the model scrolls and the children's widgets move.
    v->setValue(100);
    EXPECT_EQ(box->GetVertScrollBar()->GetPosition(), 100);
    EXPECT_EQ(WidgetOf(inner)->geometry(), QRect(2, 2 - 100, 150, 400));
    // The model scrolls: the bar follows.
    box->ScrollInView(late);
    EXPECT_EQ(v->value(), box->GetVertScrollBar()->GetPosition());
    EXPECT_EQ(WidgetOf(late)->y(), 2 + late->GetTop());
    EXPECT_GE(late->GetTop(), 0);
}

TEST_F(QtPeers, RightClickPopsUpTheMenuAndTheChosenItemRuns) {
    auto* panel = Child<TPanel>(form_, 0, 0, 300, 100);
    auto* key = new TSpeedButton(form_);
    key->SetParent(panel);
    key->SetBounds(10, 10, 40, 40);
    auto* menu = new TPopupMenu(form_);
    std::vector<std::string> chosen;
    for (const char* caption : {"&Delete Key", "&Properties"}) {
        auto* item = new TMenuItem(menu);
        item->SetCaption(caption);
        item->OnClick = [&chosen, item](TObject*) { chosen.push_back(item->GetCaption()); };
        menu->GetItems()->Add(item);
    }
    key->SetPopupMenu(menu);
    form_->Show();
    QStringList shown;
    ModalDriver user({[&](QWidget* w) {
        auto* m = qobject_cast<QMenu*>(w);
        ASSERT_NE(m, nullptr);
        for (QAction* a : m->actions())
            shown << a->text();
        QTest::mouseClick(m, Qt::LeftButton, {}, m->actionGeometry(m->actions()[1]).center());
    }});
    QTest::mousePress(WidgetOf(panel), Qt::RightButton, {}, QPoint(30, 30));
    QTest::mouseRelease(WidgetOf(panel), Qt::RightButton, {}, QPoint(30, 30));
    EXPECT_EQ(shown, QStringList({"&Delete Key", "&Properties"}));
    EXPECT_EQ(chosen, std::vector<std::string>{"&Properties"});
    EXPECT_EQ(menu->GetPopupComponent(), key);
}

TEST_F(QtPeers, AMenuItemChosenInAModalFormRunsWhileTheFormIsOpen) {
    auto* panel = Child<TPanel>(form_, 0, 0, 300, 100);
    auto* opener = new TSpeedButton(form_);
    opener->SetParent(panel);
    opener->SetBounds(10, 10, 40, 40);
    auto* modal = new TForm(form_);
    modal->SetBounds(100, 100, 300, 120);
    auto* modalPanel = new TPanel(modal);
    modalPanel->SetParent(modal);
    modalPanel->SetAlign(alClient);
    auto* key = new TSpeedButton(modal);
    key->SetParent(modalPanel);
    key->SetBounds(10, 10, 40, 40);
    auto* menu = new TPopupMenu(modal);
    auto* item = new TMenuItem(menu);
    item->SetCaption("&Properties");
    bool ranWhileOpen = false;
    item->OnClick = [&](TObject*) {
        ranWhileOpen = WidgetOf(modal)->isVisible();
        modal->SetModalResult(mrOk);
    };
    menu->GetItems()->Add(item);
    key->SetPopupMenu(menu);
    TModalResult result = mrNone;
    opener->OnClick = [&](TObject*) { result = modal->ShowModal(); };
    form_->Show();
    ModalDriver user(
        {[&](QWidget* w) {
             EXPECT_EQ(w, WidgetOf(modal));
             QTest::mouseClick(WidgetOf(modalPanel), Qt::RightButton, {}, QPoint(30, 30));
         },
         [&](QWidget* w) {
             auto* m = qobject_cast<QMenu*>(w);
             ASSERT_NE(m, nullptr);
             QTest::mouseClick(m, Qt::LeftButton, {}, m->actionGeometry(m->actions()[0]).center());
         }});
    QTest::mouseClick(WidgetOf(panel), Qt::LeftButton, {}, QPoint(30, 30));
    EXPECT_TRUE(ranWhileOpen);
    EXPECT_EQ(result, mrOk);
    EXPECT_TRUE(user.done());
}

TEST_F(QtPeers, AnErrorInAHandlerIsShownAndTheProgramGoesOn) {
    auto* panel = Child<TPanel>(form_, 0, 0, 300, 100);
    auto* key = new TSpeedButton(form_);
    key->SetParent(panel);
    key->SetBounds(10, 10, 40, 40);
    int clicks = 0;
    key->OnClick = [&](TObject*) {
        if (++clicks == 1) throw Exception("File missing.kly not found!");
    };
    form_->Show();
    QString message;
    ModalDriver user({[&](QWidget* w) {
        message = w->findChild<QLabel*>("qt_msgbox_label")
                      ? w->findChild<QLabel*>("qt_msgbox_label")->text()
                      : QString();
        QTest::keyClick(w, Qt::Key_Return);
    }});
    QTest::mouseClick(WidgetOf(panel), Qt::LeftButton, {}, QPoint(30, 30));
    EXPECT_EQ(message, "File missing.kly not found!");
    QTest::mouseClick(WidgetOf(panel), Qt::LeftButton, {}, QPoint(30, 30));
    EXPECT_EQ(clicks, 2);
}

TEST_F(QtPeers, FontDialogOfTheModel) {
    auto* dialog = new TFontDialog(form_);
    dialog->GetFont()->SetName("MS Sans Serif");
    dialog->GetFont()->SetSize(8);
    int changes = 0;
    dialog->GetFont()->OnChange = [&](TObject*) { ++changes; };
    ModalDriver user({[&](QWidget* w) {
        auto* fd = qobject_cast<QFontDialog*>(w);
        ASSERT_NE(fd, nullptr);
        QFont f = fd->currentFont();
        f.setStyleName(QString()); // the weight decides, as when the user picks "Bold"

        f.setPointSize(12);
        f.setBold(true);
        fd->setCurrentFont(f);
        fd->accept();
    }});
    ASSERT_TRUE(dialog->Execute());
    EXPECT_EQ(dialog->GetFont()->GetName(), "MS Sans Serif"); // its stand-in was kept
    EXPECT_EQ(dialog->GetFont()->GetSize(), 12);
    EXPECT_TRUE(dialog->GetFont()->GetStyle().Contains(fsBold));
    EXPECT_EQ(dialog->GetFont()->GetColor(), clWindowText);
    EXPECT_EQ(changes, 1);
}

TEST_F(QtPeers, AModalFormFreedWhileShownEndsItsLoop) {
    auto* modal = new TForm(nullptr);
    modal->SetBounds(100, 100, 200, 100);
    ModalDriver user({[&](QWidget*) { delete modal; }});
    EXPECT_EQ(modal->ShowModal(), mrNone);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(QtPeers, ControlsCanBePicturedOffscreen) {
    auto* panel = new TPanel(nullptr);
    panel->SetBounds(0, 0, 120, 50);
    panel->SetCaption("Offscreen");
    const QImage img = vcl::qt::GrabControl(panel);
    EXPECT_EQ(img.size(), QSize(120, 50));
    bool text = false;
    const QRgb face = img.pixel(60, 5);
    for (int x = 20; x < 100 && !text; ++x)
        for (int y = 15; y < 35 && !text; ++y)
            text = img.pixel(x, y) != face;
    EXPECT_TRUE(text);
    delete panel;
}

TEST_F(QtPeers, APanelWithoutBevelsIsOutlinedOnlyAtDesignTime) {
    TPanel panel(nullptr);
    panel.SetBounds(0, 0, 60, 30);
    panel.SetBevelOuter(bvNone);
    const QRgb dark = QApplication::palette().color(QPalette::Dark).rgb();
    EXPECT_NE(vcl::qt::GrabControl(&panel).pixel(0, 0), dark);
    panel.SetDesigning(true);
    EXPECT_EQ(vcl::qt::GrabControl(&panel).pixel(0, 0), dark);
    EXPECT_EQ(vcl::qt::GrabControl(&panel).pixel(30, 29), dark);
}

TEST_F(QtPeers, TypedTextTheCodePageCannotHoldIsTakenBack) {
    const int saved = vcl::GetAnsiCodePage();
    auto* edit = Child<TEdit>(form_, 10, 10, 120, 21);
    edit->SetText("ab");
    form_->Show();
    auto* line = qobject_cast<QLineEdit*>(WidgetOf(edit));
    ASSERT_NE(line, nullptr);
    line->setFocus();
    line->end(false);
    // A key press that types a Cyrillic letter.
    auto typeZhe = [line] {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString::fromUtf8("Ж"));
        QApplication::sendEvent(line, &press);
    };
    vcl::SetAnsiCodePage(1252);
    typeZhe();
    EXPECT_EQ(line->text(), "ab");
    EXPECT_EQ(edit->GetText(), "ab");
    EXPECT_EQ(line->cursorPosition(), 2);
    EXPECT_EQ(QToolTip::text(), "Character U+0416 is not in code page 1252");
    vcl::SetAnsiCodePage(1251);
    typeZhe();
    EXPECT_EQ(edit->GetText(), "ab\xC6");
    vcl::SetAnsiCodePage(saved);
}

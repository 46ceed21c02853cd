// The Qt widgetset driven as a user drives it: real Qt mouse and key events on real widgets.
#include "FormRounds.h"
#include "qt/QtWidgetset.h"

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QToolTip>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <gtest/gtest.h>

#include "ModalDriver.h"
#include "qt/PeerTable.h"
#include "rtl/FormStreams.h"
#include "vcl/Buttons.h"
#include "vcl/Dialogs.h"
#include "vcl/ExtCtrls.h"
#include "vcl/Forms.h"
#include "vcl/Menus.h"
#include "vcl/StdCtrls.h"

using namespace vcl;
using vcl::qt::WidgetOf;

class TTestDialogForm : public TForm {
    VCL_DECLARE_CLASS(TTestDialogForm, TForm)
public:
    explicit TTestDialogForm(TComponent* AOwner) : TForm(AOwner) { InitInheritedComponent(); }
    TRadioGroup* KindRadioGroup = nullptr;
    TGroupBox* CaptionsGroupBox = nullptr;
    TLabel* Label1 = nullptr;
    TLabel* Label2 = nullptr;
    TEdit* NormalEdit = nullptr;
    TEdit* ShiftEdit = nullptr;
    TComboBox* SizeComboBox = nullptr;
    TButton* OKBtn = nullptr;
    TButton* CancelBtn = nullptr;
};
VCL_DEFINE_CLASS(TTestDialogForm, TForm, c) {
    c.Field("KindRadioGroup", &TTestDialogForm::KindRadioGroup);
    c.Field("CaptionsGroupBox", &TTestDialogForm::CaptionsGroupBox);
    c.Field("Label1", &TTestDialogForm::Label1);
    c.Field("Label2", &TTestDialogForm::Label2);
    c.Field("NormalEdit", &TTestDialogForm::NormalEdit);
    c.Field("ShiftEdit", &TTestDialogForm::ShiftEdit);
    c.Field("SizeComboBox", &TTestDialogForm::SizeComboBox);
    c.Field("OKBtn", &TTestDialogForm::OKBtn);
    c.Field("CancelBtn", &TTestDialogForm::CancelBtn);
}

// A memo of a program's own, a class the widgetset does not know.
class TNotesMemo : public TMemo {
    VCL_DECLARE_CLASS(TNotesMemo, TMemo)
public:
    using TMemo::TMemo;
};
VCL_DEFINE_PLAIN_CLASS(TNotesMemo, TMemo)

namespace {

class QtWidgetset : public ::testing::Test {
protected:
    void SetUp() override { vcl::qt::InstallQtWidgetset(); }
    void TearDown() override {
        for (TComponent* c : owned_)
            delete c;
        vcl::qt::UninstallQtWidgetset();
    }
    template <class T> T* Keep(T* c) {
        owned_.push_back(c);
        return c;
    }
    // A form with an edit box at the top and a panel of speed buttons below it.
    TForm* KeyboardForm(TEdit*& edit, TPanel*& panel, std::vector<TSpeedButton*>& keys) {
        TForm* form = Keep(new TForm(nullptr));
        form->SetBounds(50, 50, 320, 200);
        edit = new TEdit(form);
        edit->SetParent(form);
        edit->SetBounds(8, 8, 200, 21);
        panel = new TPanel(form);
        panel->SetParent(form);
        panel->SetBounds(8, 40, 296, 100);
        panel->SetCaption("");
        const char* captions[] = {"A", "B", "\xE0", "Enter"};
        for (int i = 0; i < 4; ++i) {
            auto* key = new TSpeedButton(form);
            key->SetParent(panel);
            key->SetBounds(8 + i * 70, 8, 64, 40);
            key->SetCaption(captions[i]);
            keys.push_back(key);
        }
        keys[2]->GetFont()->SetName("Wingdings");
        keys[2]->GetFont()->SetSize(14);
        keys[3]->GetFont()->SetColor(clRed);
        return form;
    }
    std::vector<TComponent*> owned_;
};

QPoint CentreOf(TControl* c) {
    return QPoint(c->GetLeft() + c->GetWidth() / 2, c->GetTop() + c->GetHeight() / 2);
}

// How many different colours a picture has; a blank grab has one.
int Colours(const QImage& img) {
    QSet<QRgb> seen;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            seen.insert(img.pixel(x, y));
    return static_cast<int>(seen.size());
}

void SaveGrab(const QImage& img, const char* name) {
    QDir().mkpath(QUIMBEL_GRAB_DIR);
    img.save(QString(QUIMBEL_GRAB_DIR) + "/" + name);
}

} // namespace

TEST_F(QtWidgetset, KeyMessagesEditTheLineEditOfATEdit) {
    TEdit* edit;
    TPanel* panel;
    std::vector<TSpeedButton*> keys;
    TForm* form = KeyboardForm(edit, panel, keys);
    form->Show();
    auto* line = qobject_cast<QLineEdit*>(WidgetOf(edit));
    ASSERT_NE(line, nullptr);
    for (char c : std::string("abc"))
        edit->Perform(WM_CHAR, static_cast<unsigned char>(c), 0);
    edit->Perform(WM_CHAR, 8, 0);
    edit->Perform(WM_KEYDOWN, VK_LEFT, 0);
    edit->Perform(WM_CHAR, 0xE4, 0);
    edit->Perform(WM_KEYDOWN, VK_HOME, 0);
    edit->Perform(WM_CHAR, 'x', 0);
    edit->Perform(WM_KEYDOWN, VK_END, 0);
    edit->Perform(WM_KEYDOWN, VK_LEFT, 0);
    edit->Perform(WM_KEYDOWN, VK_DELETE, 0);
    EXPECT_EQ(line->text(), QString::fromUtf8("xaä"));
    // The model follows what Qt edited, caret included.
    EXPECT_EQ(edit->GetText(), "xa\xE4");
    EXPECT_EQ(line->cursorPosition(), 3);
    EXPECT_EQ(edit->GetSelStart(), 3);
    // Text set by the program shows in the widget.
    edit->SetText("Gr\xFC\xDF"
                  "e");
    EXPECT_EQ(line->text(), QString::fromUtf8("Grüße"));
}

TEST_F(QtWidgetset, AnyQWidgetCanBeLinkedAndItsDestructionIsReported) {
    auto* line = new QLineEdit;
    auto* control = Keep(new vcl::qt::TQtWidgetControl(nullptr, line));
    int destroyed = 0;
    control->OnWidgetDestroyed = [&](TObject* Sender) {
        EXPECT_EQ(Sender, control);
        ++destroyed;
    };
    control->Perform(WM_CHAR, 'h', 0);
    control->Perform(WM_CHAR, 'i', 0);
    control->Perform(WM_KEYDOWN, VK_HOME, 0);
    control->Perform(WM_CHAR, '>', 0);
    EXPECT_EQ(line->text(), ">hi");
    EXPECT_EQ(line->parentWidget(), nullptr); // not moved into any window
    EXPECT_FALSE(line->isVisible());          // nor shown
    delete line;
    EXPECT_EQ(destroyed, 1);
    EXPECT_EQ(control->Widget(), nullptr);
    control->Perform(WM_CHAR, 'x', 0); // goes nowhere, harmlessly
    // A new widget (often at the address of the old one) belongs to no control.
    QLineEdit other;
    EXPECT_EQ(vcl::qt::ControlOf(&other), nullptr);
    auto* again = new QLineEdit;
    EXPECT_EQ(vcl::qt::ControlOf(again), nullptr);
    delete again;
}

TEST_F(QtWidgetset, SpeedButtonsClickOnRealMouseEventsAndNeverTakeTheFocus) {
    TEdit* edit;
    TPanel* panel;
    std::vector<TSpeedButton*> keys;
    TForm* form = KeyboardForm(edit, panel, keys);
    int clicks = 0;
    keys[0]->OnClick = [&](TObject*) {
        ++clicks;
        edit->Perform(WM_CHAR, 'q', 0);
    };
    form->Show();
    QWidget* window = WidgetOf(form);
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    auto* line = qobject_cast<QLineEdit*>(WidgetOf(edit));
    edit->SetFocus();
    line->setText("hello");
    line->setSelection(1, 2);
    ASSERT_EQ(QApplication::focusWidget(), line);

    QWidget* surface = WidgetOf(panel);
    // A key that types nothing leaves caret and selection alone.
    QTest::mouseClick(surface, Qt::LeftButton, {}, CentreOf(keys[1]));
    EXPECT_EQ(line->selectedText(), "el");
    EXPECT_EQ(QApplication::focusWidget(), line);
    const QPoint a = CentreOf(keys[0]);
    QTest::mousePress(surface, Qt::LeftButton, {}, a);
    // Held down: the button looks sunken (the shadow colour at its top left corner).
    const QImage held = surface->grab().toImage();
    EXPECT_EQ(held.pixel(keys[0]->GetLeft(), keys[0]->GetTop()),
              QApplication::palette().color(QPalette::Dark).rgb());
    QTest::mouseRelease(surface, Qt::LeftButton, {}, a);
    EXPECT_EQ(clicks, 1);
    const QImage up = surface->grab().toImage();
    EXPECT_EQ(up.pixel(keys[0]->GetLeft(), keys[0]->GetTop()),
              QApplication::palette().color(QPalette::Light).rgb());

    // Released outside: no click. Dragged out and back in: a click.
    QTest::mousePress(surface, Qt::LeftButton, {}, a);
    QTest::mouseMove(surface, QPoint(a.x(), 95));
    QTest::mouseRelease(surface, Qt::LeftButton, {}, QPoint(a.x(), 95));
    EXPECT_EQ(clicks, 1);
    QTest::mousePress(surface, Qt::LeftButton, {}, a);
    QTest::mouseMove(surface, CentreOf(keys[1]));
    QTest::mouseMove(surface, a);
    QTest::mouseRelease(surface, Qt::LeftButton, {}, a);
    EXPECT_EQ(clicks, 2);

    // A quick double tap types twice. Qt hands a widget a double tap as press, release,
    // double click, release.
    QTest::mouseClick(surface, Qt::LeftButton, {}, a);
    QMouseEvent dbl(QEvent::MouseButtonDblClick, a, surface->mapToGlobal(a), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(surface, &dbl);
    QTest::mouseRelease(surface, Qt::LeftButton, {}, a);
    EXPECT_EQ(clicks, 4);

    // The edit kept the focus; the typed characters replaced the selection, then went on at the
    // caret, exactly as when a person types.
    EXPECT_EQ(QApplication::focusWidget(), line);
    EXPECT_EQ(FindFocusedControl(), edit);
    EXPECT_EQ(line->text(), "hqqqqlo");
    EXPECT_EQ(line->cursorPosition(), 5);
}

TEST_F(QtWidgetset, HintsShowAsTooltipsOfTheControlUnderThePointer) {
    TEdit* edit;
    TPanel* panel;
    std::vector<TSpeedButton*> keys;
    TForm* form = KeyboardForm(edit, panel, keys);
    form->SetShowHint(true);
    keys[0]->SetHint("Letter A|Types an A");
    panel->SetHint("Keys");
    edit->SetHint("Name");
    form->Show();
    auto tip = [](QWidget* w, QPoint p) {
        QHelpEvent e(QEvent::ToolTip, p, w->mapToGlobal(p));
        QApplication::sendEvent(w, &e);
        return QToolTip::text();
    };
    QWidget* surface = WidgetOf(panel);
    EXPECT_EQ(tip(surface, CentreOf(keys[0])), "Letter A"); // a graphic child's own
    EXPECT_EQ(tip(WidgetOf(edit), QPoint(5, 5)), "Name");   // a standard control's
    EXPECT_EQ(tip(surface, CentreOf(keys[1])), "Keys");     // a child without one: the parent's
    QToolTip::hideText();
}

TEST_F(QtWidgetset, AKeyboardInAWindowOfItsOwnLeavesTheFocusInTheOtherWindow) {
    TEdit* edit;
    TPanel* unused;
    std::vector<TSpeedButton*> unusedKeys;
    TForm* form = KeyboardForm(edit, unused, unusedKeys);
    form->Show();
    QWidget* window = WidgetOf(form);
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    edit->SetFocus();
    auto* line = qobject_cast<QLineEdit*>(WidgetOf(edit));

    auto* keyboard = Keep(new TPanel(nullptr));
    keyboard->SetBounds(400, 50, 200, 60);
    auto* key = new TSpeedButton(keyboard);
    key->SetParent(keyboard);
    key->SetBounds(10, 10, 40, 40);
    key->SetCaption("z");
    key->OnClick = [&](TObject*) { edit->Perform(WM_CHAR, 'z', 0); };
    keyboard->Show();
    QWidget* kw = WidgetOf(keyboard);
    ASSERT_TRUE(kw->isWindow());
    EXPECT_TRUE(kw->windowFlags() & Qt::WindowDoesNotAcceptFocus);
    EXPECT_TRUE(kw->testAttribute(Qt::WA_ShowWithoutActivating));
    QTest::mouseClick(kw, Qt::LeftButton, {}, CentreOf(key));
    QTest::mouseClick(kw, Qt::LeftButton, {}, CentreOf(key));
    EXPECT_EQ(line->text(), "zz");
    EXPECT_EQ(QApplication::activeWindow(), window);
    EXPECT_EQ(QApplication::focusWidget(), line);
    // A form with something to type into does take the focus.
    EXPECT_FALSE(window->windowFlags() & Qt::WindowDoesNotAcceptFocus);
}

TEST_F(QtWidgetset, AControlPutIntoAQtWidgetStaysItsChild) {
    QWidget host;
    auto* panel = Keep(new TPanel(nullptr));
    QWidget* pw = WidgetOf(panel);
    pw->setParent(&host);
    // New children, an edit among them, leave it where the program put it.
    (new TSpeedButton(panel))->SetParent(panel);
    (new TEdit(panel))->SetParent(panel);
    EXPECT_FALSE(pw->isWindow());
    EXPECT_EQ(pw->parentWidget(), &host);
    pw->setParent(nullptr); // the panel's peer owns the widget, not the host
}

// A control gets what is registered for its nearest registered ancestor, whatever the order of
// registration: a memo is an edit as well, yet shows as a memo.
TEST_F(QtWidgetset, APeerAndAPainterFollowTheNearestRegisteredAncestor) {
    using vcl::qt::PeerTable;
    const vcl::qt::GraphicPainter base = [](QPainter& p, const QRect&, TControl*,
                                            const QPalette&) { p.save(); };
    const vcl::qt::GraphicPainter button = [](QPainter& p, const QRect&, TControl*,
                                              const QPalette&) { p.restore(); };
    PeerTable table;
    table.AddPainter(TSpeedButton::StaticClass(), button);
    table.AddPainter(TGraphicControl::StaticClass(), base);
    EXPECT_EQ(table.FindPainter(TSpeedButton::StaticClass()), button);
    EXPECT_EQ(table.FindPainter(TShape::StaticClass()), base);
    EXPECT_EQ(table.FindPainter(TWinControl::StaticClass()), nullptr);

    auto* form = Keep(new TForm(nullptr));
    auto* notes = new TNotesMemo(form);
    notes->SetParent(form);
    auto* edit = new TEdit(form);
    edit->SetParent(form);
    EXPECT_NE(qobject_cast<QPlainTextEdit*>(WidgetOf(notes)), nullptr);
    EXPECT_NE(qobject_cast<QLineEdit*>(WidgetOf(edit)), nullptr);
    EXPECT_EQ(vcl::qt::ControlOf(WidgetOf(notes)), notes);
}

TEST_F(QtWidgetset, AFormFromItsResourceEndsWithTheResultOfTheButtonPressed) {
    auto* form = Keep(new TTestDialogForm(nullptr));
    ASSERT_NE(form->OKBtn, nullptr);
    // Edits keep their own window colour on a button-face form.
    EXPECT_FALSE(form->NormalEdit->GetParentColor());
    EXPECT_EQ(form->NormalEdit->GetColor(), clWindow);
    int clickedItem = -1;
    form->KindRadioGroup->OnClick = [&](TObject*) {
        clickedItem = form->KindRadioGroup->GetItemIndex();
    };
    {
        ModalDriver user({[&](QWidget* w) {
            EXPECT_EQ(w, WidgetOf(form));
            EXPECT_EQ(w->windowTitle(), "Key Test");
            EXPECT_EQ(w->size(), QSize(330, 200)); // the client size of the resource
            // The user picks "Enter", types into an edit, then presses OK.
            auto radios = WidgetOf(form->KindRadioGroup)->findChildren<QRadioButton*>();
            ASSERT_EQ(radios.size(), 4);
            // Anywhere in the item's cell, not only on its text.
            QTest::mouseClick(radios[3], Qt::LeftButton, {},
                              QPoint(radios[3]->width() - 5, radios[3]->height() / 2));
            auto* edit = qobject_cast<QLineEdit*>(WidgetOf(form->NormalEdit));
            QTest::mouseClick(edit, Qt::LeftButton);
            QTest::keyClick(edit, Qt::Key_End);
            QTest::keyClicks(edit, "bc");
            QTest::mouseClick(WidgetOf(form->OKBtn), Qt::LeftButton);
        }});
        EXPECT_EQ(form->ShowModal(), mrOk);
    }
    EXPECT_EQ(clickedItem, 3);
    EXPECT_EQ(form->KindRadioGroup->GetItemIndex(), 3);
    EXPECT_EQ(form->NormalEdit->GetText(), "abc");
    EXPECT_FALSE(WidgetOf(form)->isVisible());

    // Enter in an edit presses the default button, Escape the cancel button, and the close box
    // cancels.
    {
        ModalDriver user(
            {[&](QWidget*) { QTest::keyClick(WidgetOf(form->ShiftEdit), Qt::Key_Return); }});
        form->ShiftEdit->SetFocus();
        EXPECT_EQ(form->ShowModal(), mrOk);
    }
    {
        ModalDriver user(
            {[&](QWidget*) { QTest::keyClick(WidgetOf(form->NormalEdit), Qt::Key_Escape); }});
        EXPECT_EQ(form->ShowModal(), mrCancel);
    }
    {
        ModalDriver user({[&](QWidget* w) { w->close(); }});
        EXPECT_EQ(form->ShowModal(), mrCancel);
    }
    {
        ModalDriver user(
            {[&](QWidget*) { QTest::mouseClick(WidgetOf(form->CancelBtn), Qt::LeftButton); }});
        EXPECT_EQ(form->ShowModal(), mrCancel);
    }
}

TEST_F(QtWidgetset, GrabsOfAKeyPanelAndADialogShowTheirControls) {
    TEdit* edit;
    TPanel* panel;
    std::vector<TSpeedButton*> keys;
    TForm* form = KeyboardForm(edit, panel, keys);
    // A glyph button: a black arrow on white, the white drawn transparent.
    auto* glyphKey = new TSpeedButton(form);
    glyphKey->SetParent(panel);
    glyphKey->SetBounds(8, 56, 18, 18);
    {
        // 10x10, 24 bits per pixel, bottom-up rows of 32 bytes.
        std::vector<uint8_t> bmp(54 + 10 * 32, 0xFF);
        auto put32 = [&](size_t at, uint32_t v) {
            for (int i = 0; i < 4; ++i)
                bmp[at + i] = static_cast<uint8_t>(v >> (8 * i));
        };
        bmp[0] = 'B';
        bmp[1] = 'M';
        put32(2, static_cast<uint32_t>(bmp.size()));
        put32(6, 0);
        put32(10, 54);
        put32(14, 40);
        put32(18, 10);
        put32(22, 10);
        bmp[26] = 1;
        bmp[27] = 0;
        bmp[28] = 24;
        bmp[29] = 0;
        put32(30, 0);
        put32(34, 10 * 32);
        put32(38, 2835);
        put32(42, 2835);
        put32(46, 0);
        put32(50, 0);
        // A right arrow: a bar on rows 4 and 5, a head widening towards column 4.
        auto isArrow = [](int x, int y) {
            if ((y == 4 || y == 5) && x >= 1 && x <= 8) return true;
            for (int k = 1; k <= 3; ++k)
                if (x == 8 - k && (y == 4 - k || y == 5 + k)) return true;
            return false;
        };
        for (int row = 0; row < 10; ++row)
            for (int col = 0; col < 10; ++col)
                if (isArrow(col, 9 - row)) { // rows are stored bottom-up
                    const size_t at =
                        54 + static_cast<size_t>(row) * 32 + static_cast<size_t>(col) * 3;
                    bmp[at] = bmp[at + 1] = bmp[at + 2] = 0;
                }
        glyphKey->GetGlyph()->LoadFromBytes(bmp);
    }
    auto* shape = new TShape(form);
    shape->SetParent(panel);
    shape->SetBounds(40, 56, 60, 30);
    shape->GetBrush()->SetColor(clYellow);
    shape->GetPen()->SetColor(clBlue);
    auto* label = new TLabel(form);
    label->SetParent(panel);
    label->SetLeft(110);
    label->SetTop(64);
    label->SetCaption("&Label");
    form->Show();
    const QImage panelPicture = WidgetOf(panel)->grab().toImage();
    SaveGrab(panelPicture, "panel-with-buttons.png");
    EXPECT_GT(Colours(panelPicture), 8);
    // The transparent glyph background shows the face, the arrow stays black.
    const QColor face = QApplication::palette().color(QPalette::Button);
    EXPECT_EQ(panelPicture.pixelColor(glyphKey->GetLeft() + 4, glyphKey->GetTop() + 4), face);
    EXPECT_EQ(panelPicture.pixelColor(glyphKey->GetLeft() + 4 + 3, glyphKey->GetTop() + 4 + 4),
              QColor(Qt::black));
    // The shape: blue pen, yellow brush.
    EXPECT_EQ(panelPicture.pixelColor(shape->GetLeft(), shape->GetTop() + 10), QColor(Qt::blue));
    EXPECT_EQ(panelPicture.pixelColor(shape->GetLeft() + 30, shape->GetTop() + 15),
              QColor(Qt::yellow));

    auto* dialog = Keep(new TTestDialogForm(nullptr));
    dialog->Show();
    const QImage dialogPicture = WidgetOf(dialog)->grab().toImage();
    SaveGrab(dialogPicture, "dialog-form.png");
    EXPECT_EQ(dialogPicture.size(), QSize(330, 200));
    EXPECT_GT(Colours(dialogPicture), 8);
}

TEST_F(QtWidgetset, GrabOfADesignerLikeFormWithGridToolbarAndKeys) {
    auto* form = Keep(new TForm(nullptr));
    form->SetCaption("Keyboard Layout Editor");
    form->SetBounds(305, 195, 639, 387);
    auto* top = new TPanel(form);
    top->SetParent(form);
    top->SetAlign(alTop);
    top->SetHeight(40);
    top->SetBevelInner(bvRaised);
    top->SetBevelOuter(bvLowered);
    top->SetCaption("");
    const char* captions[] = {"&New Key", "&Load Layout", "&Save Layout", "&Clear All",
                              "Set Key &Font"};
    for (int i = 0; i < 5; ++i) {
        auto* b = new TButton(form);
        b->SetParent(top);
        b->SetBounds(8 + 80 * i, 8, 75, 24);
        b->SetCaption(captions[i]);
    }
    // The four shift buttons as a cross, with Wingdings arrows for captions.
    const int cross[4][2] = {{414, 12}, {432, 2}, {432, 20}, {450, 12}};
    const char* arrows[] = {"\xDF", "\xE1", "\xE2", "\xE0"};
    for (int i = 0; i < 4; ++i) {
        auto* b = new TSpeedButton(form);
        b->SetParent(top);
        b->SetBounds(cross[i][0], cross[i][1], 18, 18);
        b->SetCaption(arrows[i]);
        b->GetFont()->SetName("Wingdings");
    }
    auto* surface = new TPanel(form);
    surface->SetParent(form);
    surface->SetAlign(alClient);
    surface->SetBevelOuter(bvNone);
    surface->SetColor(clWhite);
    surface->SetCaption("");
    for (int x = 0; x <= 2000; x += 8) {
        auto* line = new TShape(form);
        line->SetParent(surface);
        line->SetBounds(x, 0, 1, 1500);
        line->GetPen()->SetColor(clSilver);
    }
    for (int y = 0; y <= 1500; y += 8) {
        auto* line = new TShape(form);
        line->SetParent(surface);
        line->SetBounds(0, y, 2000, 1);
        line->GetPen()->SetColor(clSilver);
    }
    const char* keys[] = {"Esc", "1", "2", "3", "\xC3", "Shift", "A"};
    for (int i = 0; i < 7; ++i) {
        auto* k = new TSpeedButton(form);
        k->SetParent(surface);
        k->SetBounds(8 + 36 * i, 8, i == 5 ? 64 : 32, 32);
        if (i == 5) k->SetLeft(8 + 36 * 5);
        if (i == 6) k->SetLeft(8 + 36 * 5 + 68);
        k->SetCaption(keys[i]);
        if (i == 4) k->GetFont()->SetName("Wingdings");
        if (i == 5) k->GetFont()->SetColor(clRed);
    }
    form->Show();
    const QImage picture = WidgetOf(form)->grab().toImage();
    SaveGrab(picture, "layout-designer.png");
    EXPECT_EQ(picture.size(), QSize(631, 360)); // the client area of a 639 x 387 form
    EXPECT_GT(Colours(picture), 8);
    // The grid shows on white: silver every 8 pixels, white between.
    EXPECT_EQ(picture.pixelColor(16, 40 + 300), QColor(192, 192, 192));
    EXPECT_EQ(picture.pixelColor(20, 40 + 300), QColor(Qt::white));
}

// A panel of many controls is filled before it shows, and then the form's window shows all
// of them, as it does when the panel is hidden and shown again.
TEST_F(QtWidgetset, APanelOfManyControlsShowsThemAllInTheWindow) {
    auto* form = Keep(new TForm(nullptr));
    form->SetBounds(40, 40, 420, 300);
    form->Show();
    Application->ProcessMessages();
    auto* panel = new TPanel(form);
    panel->SetBounds(10, 10, 400, 240);
    panel->SetCaption("");
    std::vector<TEdit*> edits;
    for (int i = 0; i < 48; ++i) {
        auto* edit = new TEdit(form);
        edit->SetParent(panel);
        edit->SetBounds(4 + i % 8 * 48, 4 + i / 8 * 38, 44, 30);
        edit->SetColor(clRed);
        edits.push_back(edit);
    }
    QWidget* window = WidgetOf(form);
    auto redEdits = [&] {
        const QImage shown = window->screen()->grabWindow(window->winId()).toImage();
        int red = 0;
        for (TEdit* e : edits) {
            const QPoint p = WidgetOf(e)->mapTo(window, QPoint(22, 15));
            if (shown.pixelColor(p) == QColor(Qt::red)) ++red;
        }
        return red;
    };
    panel->SetParent(form);
    EXPECT_TRUE(WidgetOf(panel)->isVisible());
    for (TEdit* e : edits)
        EXPECT_TRUE(WidgetOf(e)->isVisible());
    Application->ProcessMessages();
    EXPECT_EQ(redEdits(), 48);
    panel->SetVisible(false);
    Application->ProcessMessages();
    EXPECT_EQ(redEdits(), 0);
    panel->SetVisible(true);
    Application->ProcessMessages();
    EXPECT_EQ(redEdits(), 48);
}

TEST_F(QtWidgetset, AFormsMenuBarLiesAboveItsClientAreaAndClicksItsItems) {
    TEdit* edit;
    TPanel* panel;
    std::vector<TSpeedButton*> keys;
    TForm* form = KeyboardForm(edit, panel, keys);
    const int clientHeight = form->GetClientHeight();
    auto* menu = new TMainMenu(form);
    auto* file = new TMenuItem(form);
    file->SetCaption("&File");
    menu->GetItems()->Add(file);
    auto* save = new TMenuItem(form);
    save->SetCaption("&Save");
    save->SetShortCut(ShortCut('S', {ssCtrl}));
    file->Add(save);
    int saves = 0;
    // The handler changes the menu while its own action is still being triggered.
    save->OnClick = [&](TObject*) { save->SetCaption("Saved " + std::to_string(++saves)); };
    form->SetMenu(menu);
    form->Show();
    QCoreApplication::processEvents();

    QWidget* window = WidgetOf(form);
    auto* bar = window->findChild<QMenuBar*>();
    ASSERT_NE(bar, nullptr);
    const int menuHeight = vcl::Widgetset()->MenuBarHeight();
    EXPECT_EQ(bar->geometry(), QRect(0, 0, form->GetClientWidth(), menuHeight));
    EXPECT_EQ(form->GetClientHeight(), clientHeight);
    EXPECT_EQ(window->height(), clientHeight + menuHeight);
    EXPECT_EQ(WidgetOf(edit)->geometry().topLeft(), QPoint(8, 8 + menuHeight));
    ASSERT_EQ(bar->actions().size(), 1);
    EXPECT_EQ(bar->actions()[0]->text(), "&File");
    QAction* saveAction = bar->actions()[0]->menu()->actions().value(0);
    ASSERT_NE(saveAction, nullptr);
    EXPECT_EQ(saveAction->shortcut(), QKeySequence("Ctrl+S"));
    saveAction->trigger();
    EXPECT_EQ(saves, 1);
    QCoreApplication::processEvents();
    bar = window->findChild<QMenuBar*>();
    EXPECT_EQ(bar->actions()[0]->menu()->actions()[0]->text(), "Saved 1");

    // A changed item is shown anew; resizing the window resizes the client area only.
    save->SetEnabled(false);
    bar = window->findChild<QMenuBar*>();
    EXPECT_FALSE(bar->actions()[0]->menu()->actions()[0]->isEnabled());
    window->resize(window->width(), window->height() + 10);
    QCoreApplication::processEvents();
    EXPECT_EQ(form->GetClientHeight(), clientHeight + 10);
    form->Hide();
}

TEST_F(QtWidgetset, AScrollBarKeepsItsPositionInRangeAndFollowsTheUser) {
    TForm* form = Keep(new TForm(nullptr));
    auto* bar = new TScrollBar(form);
    bar->SetKind(sbVertical);
    EXPECT_EQ(bar->BoundsRect(), Bounds(0, 0, 16, 121)); // turned upright
    bar->SetParent(form);
    std::vector<int> changes;
    bar->OnChange = [&](TObject*) { changes.push_back(bar->GetPosition()); };
    bar->SetPageSize(10);
    bar->SetParams(50, 0, 29); // a page of 10 out of 30: at most 20
    EXPECT_EQ(bar->GetPosition(), 20);
    EXPECT_THROW(bar->SetParams(0, 10, 5), EInvalidOperation);
    form->Show();
    auto* native = qobject_cast<QScrollBar*>(WidgetOf(bar));
    ASSERT_NE(native, nullptr);
    EXPECT_EQ(native->orientation(), Qt::Vertical);
    EXPECT_EQ(native->maximum(), 20);
    EXPECT_EQ(native->pageStep(), 10);
    EXPECT_EQ(native->value(), 20);
    native->setValue(7); // the user drags the thumb
    EXPECT_EQ(bar->GetPosition(), 7);
    EXPECT_EQ(changes, (std::vector<int>{20, 7}));
    form->Hide();
}

TEST_F(QtWidgetset, TheWheelGoesToNativeWidgetsThatUseItElseUpTheControls) {
    TForm* form = Keep(new TForm(nullptr));
    form->SetBounds(40, 40, 400, 300);
    auto* panel = new TPanel(form);
    panel->SetParent(form);
    panel->SetBounds(0, 0, 400, 300);
    int panelTurns = 0;
    panel->OnMouseWheel = [&](TObject*, TShiftState, int Delta, const TPoint&, bool& Handled) {
        EXPECT_EQ(Delta, -120);
        ++panelTurns;
        Handled = true;
    };
    auto* edit = new TEdit(form);
    edit->SetParent(panel);
    edit->SetBounds(8, 8, 100, 21);
    auto* label = new TLabel(form);
    label->SetParent(panel);
    label->SetBounds(8, 40, 100, 16);
    auto* combo = new TComboBox(form);
    combo->SetStyle(csDropDownList);
    combo->SetParent(panel);
    combo->SetBounds(120, 8, 100, 21);
    combo->GetItems()->Add("a");
    combo->GetItems()->Add("b");
    combo->GetItems()->Add("c");
    combo->SetItemIndex(0);
    auto* bar = new TScrollBar(form);
    bar->SetKind(sbVertical);
    bar->SetParent(panel);
    bar->SetBounds(380, 0, 16, 200);
    auto* memo = new TMemo(form);
    memo->SetScrollBars(ssVertical);
    memo->SetParent(panel);
    memo->SetBounds(120, 60, 200, 60);
    for (int i = 0; i < 40; ++i)
        memo->GetLines()->Add("line");
    form->Show();
    QWidget* window = WidgetOf(form);
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    auto* text = qobject_cast<QPlainTextEdit*>(WidgetOf(memo));
    ASSERT_NE(text, nullptr);

    // A turn toward the user at the middle of a control, given to the widget Qt delivers it to.
    const auto turn = [&](TControl* c) {
        QWidget* host = WidgetOf(c->GetWindowedControl());
        QPoint pos = c->IsWindowed() ? host->rect().center() : CentreOf(c);
        if (QWidget* child = host->childAt(pos)) {
            pos = child->mapFrom(host, pos);
            host = child;
        }
        QWheelEvent e(pos, host->mapToGlobal(pos), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(host, &e);
        return e.isAccepted();
    };
    // A line edit and a label leave the turn to the panel, and so does a list box that is not
    // being worked in.
    EXPECT_TRUE(turn(edit));
    EXPECT_TRUE(turn(label));
    EXPECT_TRUE(turn(combo));
    EXPECT_EQ(panelTurns, 3);
    EXPECT_EQ(combo->GetItemIndex(), 0);
    // The focused list box, the scroll bar (a small step) and the text view use it themselves.
    combo->SetFocus();
    EXPECT_TRUE(turn(combo));
    EXPECT_EQ(combo->GetItemIndex(), 1);
    EXPECT_TRUE(turn(bar));
    EXPECT_EQ(bar->GetPosition(), 1);
    EXPECT_TRUE(turn(memo));
    EXPECT_GT(text->verticalScrollBar()->value(), 0);
    EXPECT_EQ(panelTurns, 3);
    form->Hide();
}

TEST_F(QtWidgetset, AMemoShowsItsLinesAndTakesWhatTheUserTypes) {
    TForm* form = Keep(new TForm(nullptr));
    form->SetBounds(40, 40, 300, 200);
    auto* memo = new TMemo(form);
    memo->SetAlign(alClient);
    memo->SetReadOnly(true);
    memo->GetLines()->Add("object Form1: TForm");
    memo->GetLines()->Add("  Caption = '\xC4'"); // a byte of code page 1252
    memo->SetParent(form);
    form->Show();
    auto* native = qobject_cast<QPlainTextEdit*>(WidgetOf(memo));
    ASSERT_NE(native, nullptr);
    EXPECT_TRUE(native->isReadOnly());
    EXPECT_EQ(native->toPlainText(), QString::fromUtf8("object Form1: TForm\n  Caption = '\u00C4'\n"));
    SaveGrab(vcl::qt::GrabControl(form), "memo.png");

    memo->SetReadOnly(false);
    native->setPlainText("one\ntwo"); // what the user typed
    EXPECT_EQ(memo->GetText(), "one\r\ntwo");
    ASSERT_EQ(memo->GetLines()->GetCount(), 2);
    EXPECT_EQ(memo->GetLines()->Get(1), "two");
    form->Hide();
}

TEST_F(QtWidgetset, AControlInAQtLayoutFollowsItsWidget) {
    auto* panel = Keep(new TPanel(nullptr));
    int resizes = 0;
    panel->OnResize = [&](TObject*) { ++resizes; };
    QWidget host;
    auto* layout = new QVBoxLayout(&host);
    layout->setContentsMargins(0, 0, 0, 0);
    QWidget* w = WidgetOf(panel);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(vcl::qt::ControlOf(w), panel);
    layout->addWidget(w);
    host.resize(320, 90);
    host.show();
    QCoreApplication::processEvents();
    EXPECT_EQ(panel->GetWidth(), w->width());
    EXPECT_EQ(panel->GetHeight(), 90);
    EXPECT_GT(resizes, 0);
    host.resize(500, 120);
    QCoreApplication::processEvents();
    EXPECT_EQ(panel->GetWidth(), 500);
    EXPECT_EQ(panel->GetHeight(), 120);
    delete panel; // takes its widget out of the layout
    owned_.clear();
}

TEST_F(QtWidgetset, DialogsAndPromptsOfTheModelRunNatively) {
    QTemporaryDir tmp;
    QFile(tmp.filePath("layout.kly")).open(QIODevice::WriteOnly);
    auto* open = Keep(new TOpenDialog(nullptr));
    open->SetTitle("Load Keyboard Layout");
    open->SetFilter("Keyboard Layout (*.kly)|*.kly");
    open->SetDefaultExt("kly");
    open->SetInitialDir(QFile::encodeName(tmp.path()).toStdString());
    open->SetOptions({ofHideReadOnly, ofPathMustExist, ofFileMustExist, ofEnableSizing});
    {
        ModalDriver user({[&](QWidget* w) {
            EXPECT_EQ(w->windowTitle(), "Load Keyboard Layout");
            w->findChild<QLineEdit*>("fileNameEdit")->setText("layout");
            static_cast<QDialog*>(w)->accept();
        }});
        ASSERT_TRUE(open->Execute());
    }
    EXPECT_EQ(open->GetFileName(), QFile::encodeName(tmp.filePath("layout.kly")).toStdString());
    {
        ModalDriver user({[&](QWidget* w) {
            EXPECT_EQ(w->windowTitle(), "Confirmation");
            QTest::keyClick(w, Qt::Key_Escape);
        }});
        EXPECT_EQ(
            MessageDlg("All keys will be deleted! Proceed?", mtConfirmation, {mbYes, mbNo}, 0),
            mrNo);
    }
    Beep();
    // Outside input events the model reads the real cursor.
    QCursor::setPos(123, 45);
    EXPECT_EQ(Mouse->GetCursorPos().X, QCursor::pos().x());
    EXPECT_EQ(Mouse->GetCursorPos().Y, QCursor::pos().y());
}

// Shown with a real menu bar, a form that stores its outer size keeps it over saves and reopens.
TEST_F(QtWidgetset, AFormWithAMainMenuKeepsItsStoredSizeOverSaves) {
    testsupport::SaveAndReopen(testsupport::MenuFormText, 3, [](TForm& form, int round) {
        form.Show();
        QCoreApplication::processEvents();
        EXPECT_EQ(form.GetHeight(), 200) << round;
    });
}

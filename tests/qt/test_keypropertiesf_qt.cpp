// The key properties dialog under the Qt widgetset, used with real mouse and key events.
#include "qt/QtWidgetset.h"

#include <QComboBox>
#include <QDir>
#include <QFontDialog>
#include <QLineEdit>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>
#include <gtest/gtest.h>

#include "ModalDriver.h"
#include "runtime/Keypropertiesf.h"

using namespace vcl;
using namespace quimbel;
using vcl::qt::WidgetOf;

namespace {

// A key on a form, with a focusable button that opens the dialog for it, as an editing surface
// does.
class KeyPropertiesDialogQt : public ::testing::Test {
protected:
    void SetUp() override {
        vcl::qt::InstallQtWidgetset();
        form_ = new TForm(nullptr);
        form_->SetBounds(40, 40, 300, 120);
        opener_ = new TButton(form_);
        opener_->SetParent(form_);
        opener_->SetBounds(8, 8, 100, 25);
        opener_->OnClick = [this](TObject*) { result_ = EditKeyProperties(form_, &key_); };
        button_ = new TKeyControl(form_);
        button_->SetParent(form_);
        button_->SetBounds(8, 40, 32, 32);
        key_.SetKeyCaption(klNormal, "a");
        key_.SetKeyValue(klNormal, "a");
        key_.AssignControl(button_);
    }
    void TearDown() override {
        delete form_;
        vcl::qt::UninstallQtWidgetset();
    }
    // Opens the dialog by a click on the opener, and plays the user with Steps.
    void Open(std::deque<ModalDriver::Step> Steps) {
        form_->Show();
        ModalDriver user(std::move(Steps));
        QTest::mouseClick(WidgetOf(opener_), Qt::LeftButton);
        EXPECT_TRUE(user.done());
    }
    static TKeyPropertiesForm* Dialog(QWidget* W) {
        return dynamic_cast<TKeyPropertiesForm*>(vcl::qt::ControlOf(W));
    }
    static QLineEdit* Line(TEdit* Edit) { return qobject_cast<QLineEdit*>(WidgetOf(Edit)); }

    TForm* form_ = nullptr;
    TButton* opener_ = nullptr;
    TKeyControl* button_ = nullptr;
    TKey key_{ktNormal};
    TModalResult result_ = mrNone;
};

void SaveGrab(QWidget* W, const char* Name) {
    QDir().mkpath(QUIMBEL_GRAB_DIR);
    W->grab().save(QString(QUIMBEL_GRAB_DIR) + "/" + Name);
}

} // namespace

TEST_F(KeyPropertiesDialogQt, ShowsTheKeyInTwoColumnsWithArrowGlyphs) {
    key_.SetKeyType(ktEnter);
    key_.SetKeyCaption(klNormal, "\xC3");
    key_.SetKeyValue(klNormal, "\r");
    key_.Font->SetName("Wingdings");
    key_.SetWidth(12);
    key_.UpdateControl();
    Open({[&](QWidget* w) {
        TKeyPropertiesForm* f = Dialog(w);
        ASSERT_NE(f, nullptr);
        SaveGrab(w, "key-properties-enter.png");
        // Items 0 to 9 in the left column, 10 to 18 in the right one.
        QList<QRadioButton*> radios = WidgetOf(f->KeyTypeRadioGroup)->findChildren<QRadioButton*>();
        ASSERT_EQ(radios.size(), 19);
        std::sort(radios.begin(), radios.end(), [](QRadioButton* a, QRadioButton* b) {
            return a->geometry().x() != b->geometry().x() ? a->geometry().x() < b->geometry().x()
                                                          : a->geometry().y() < b->geometry().y();
        });
        EXPECT_EQ(radios[9]->text(), "Delete");
        EXPECT_EQ(radios[10]->text(), "Home");
        EXPECT_EQ(radios[10]->geometry().y(), radios[0]->geometry().y());
        EXPECT_GT(radios[10]->geometry().x(), radios[9]->geometry().right() - 2);
        EXPECT_TRUE(radios[5]->isChecked());
        // Every item's text fits beside its indicator.
        for (QRadioButton* r : radios) {
            QStyleOptionButton opt;
            opt.initFrom(r);
            const QRect text = r->style()->subElementRect(QStyle::SE_RadioButtonContents, &opt, r);
            EXPECT_GE(text.width(), r->fontMetrics().horizontalAdvance(r->text()))
                << r->text().toStdString();
        }
        for (TComboBox* c : {f->KeyWidthComboBox, f->KeyHeightComboBox}) {
            auto* box = qobject_cast<QComboBox*>(WidgetOf(c));
            ASSERT_NE(box, nullptr);
            EXPECT_FALSE(box->isEditable());
            EXPECT_EQ(box->count(), 20);
        }
        EXPECT_EQ(qobject_cast<QComboBox*>(WidgetOf(f->KeyWidthComboBox))->currentText(), "1 1/2");
        // The Enter arrow, as the key shows it.
        EXPECT_EQ(Line(f->NormalCaptionEdit)->text(), QString::fromUtf8("↵"));
        EXPECT_FALSE(Line(f->ShiftCaptionEdit)->isEnabled());
        EXPECT_EQ(Line(f->NormalValueEdit)->text(), "\r");
        QTest::keyClick(w, Qt::Key_Escape);
    }});
    EXPECT_EQ(result_, mrCancel);

    key_.SetKeyType(ktNormal);
    key_.SetKeyCaption(klNormal, "a");
    key_.SetKeyCaption(klShift, "A");
    key_.SetKeyValue(klNormal, "a");
    key_.SetKeyValue(klShift, "A");
    key_.Font->SetName("MS Sans Serif");
    key_.SetWidth(8);
    key_.UpdateControl();
    Open({[&](QWidget* w) {
        SaveGrab(w, "key-properties-normal.png");
        EXPECT_EQ(Line(Dialog(w)->ShiftCaptionEdit)->text(), "A");
        w->close(); // the close box
    }});
    EXPECT_EQ(result_, mrCancel);
}

TEST_F(KeyPropertiesDialogQt, MouseAndKeysEditTheKey) {
    // A click on "Left" puts the arrow into the caption edit at once; Enter confirms.
    Open({[&](QWidget* w) {
        TKeyPropertiesForm* f = Dialog(w);
        QRadioButton* left = nullptr;
        for (QRadioButton* r : WidgetOf(f->KeyTypeRadioGroup)->findChildren<QRadioButton*>())
            if (r->text() == "Left") left = r;
        ASSERT_NE(left, nullptr);
        QTest::mouseClick(left, Qt::LeftButton);
        EXPECT_EQ(Line(f->NormalCaptionEdit)->text(), QString::fromUtf8("←"));
        EXPECT_EQ(key_.Font->GetName(), "Wingdings");
        QTest::keyClick(w, Qt::Key_Return);
    }});
    EXPECT_EQ(result_, mrOk);
    EXPECT_EQ(key_.KeyType, ktLeft);
    EXPECT_EQ(key_.GetKeyCaption(klNormal), "\xDF");

    // Typing into a Wingdings caption edit stores what the key will show.
    Open({[&](QWidget* w) {
        QLineEdit* line = Line(Dialog(w)->NormalCaptionEdit);
        line->setFocus();
        line->selectAll();
        QTest::sendKeyEvent(QTest::Click, line, Qt::Key_unknown, QString::fromUtf8("→"),
                            Qt::NoModifier);
        QTest::mouseClick(WidgetOf(Dialog(w)->OKBtn), Qt::LeftButton);
    }});
    EXPECT_EQ(key_.GetKeyCaption(klNormal), "\xE0");

    // The font button opens the toolkit's font dialog on the key's font.
    key_.Font->SetName("Arial");
    key_.Font->SetSize(10);
    key_.UpdateControl();
    QFont preselected;
    Open({[&](QWidget* w) { QTest::mouseClick(WidgetOf(Dialog(w)->FontBtn), Qt::LeftButton); },
          [&](QWidget* w) {
              auto* fd = qobject_cast<QFontDialog*>(w);
              ASSERT_NE(fd, nullptr);
              preselected = fd->currentFont();
              QFont f = preselected;
              f.setPointSize(14);
              fd->setCurrentFont(f);
              fd->accept();
          },
          [&](QWidget* w) {
              EXPECT_EQ(Dialog(w)->FontLabel->GetCaption(), "Arial 10");
              QTest::mouseClick(WidgetOf(Dialog(w)->CancelBtn), Qt::LeftButton);
          }});
    EXPECT_EQ(preselected.pointSize(), 10);
    EXPECT_EQ(key_.Font->GetSize(), 14); // not undone by Cancel
    EXPECT_EQ(result_, mrCancel);
}

// The layout designer window under the Qt widgetset, used with a real mouse.
#include "qt/QtWidgetset.h"

#include <QDir>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include "../qt/ModalDriver.h"
#include "design/Layoutf.h"
#include "designide/DesignIntf.h"
#include "runtime/Keypropertiesf.h"

using namespace vcl;
using namespace quimbel;
using vcl::qt::WidgetOf;

namespace {

class LayoutFormQt : public ::testing::Test {
protected:
    void SetUp() override {
        vcl::qt::InstallQtWidgetset();
        const struct {
            int left, top, width;
            TKeyType type;
            const char* caption;
        } keys[] = {{2, 2, 8, ktEscape, "Esc"},   {12, 2, 8, ktNormal, "1"},
                    {22, 2, 8, ktNormal, "2"},    {32, 2, 12, ktBackspace, "\xD5"},
                    {2, 12, 12, KtTab, "Tab"},    {16, 12, 8, ktNormal, "Q"},
                    {26, 12, 18, ktEnter, "\xC3"}};
        for (const auto& k : keys) {
            auto* key = new TKey(k.type);
            key->SetLeft(k.left);
            key->SetTop(k.top);
            key->SetWidth(static_cast<TKeyWidth>(k.width));
            key->SetKeyCaption(klNormal, k.caption);
            if (k.caption[0] & 0x80) key->Font->SetName("Wingdings");
            keys_.AddKey(key);
        }
        form_ = new TLayoutForm(nullptr, &keys_);
    }
    void TearDown() override {
        delete form_;
        vcl::qt::UninstallQtWidgetset();
    }
    QPoint CentreOf(int index) const {
        const TKeyControl* b = keys_.GetItem(index)->Control;
        return QPoint(b->GetLeft() + b->GetWidth() / 2, b->GetTop() + b->GetHeight() / 2);
    }
    TKeyCollection keys_;
    TLayoutForm* form_ = nullptr;
};

} // namespace

TEST_F(LayoutFormQt, ToolbarGlyphsGridAndKeysShow) {
    form_->Show();
    const QImage picture = WidgetOf(form_)->grab().toImage();
    QDir().mkpath(QUIMBEL_GRAB_DIR);
    picture.save(QString(QUIMBEL_GRAB_DIR) + "/layout-designer-form.png");
    const QColor face = QApplication::palette().color(QPalette::Button);
    // Each shift button: the arrow's shaft and point are black, its corners show the face.
    struct Probe {
        TSpeedButton* button;
        QPoint black; // in the glyph, which the 18 x 18 button centres
    } probes[] = {{form_->ShiftLeftBtn, {1, 4}},
                  {form_->ShiftRightBtn, {8, 5}},
                  {form_->ShiftUpBtn, {4, 1}},
                  {form_->ShiftDownBtn, {5, 8}}};
    const QPoint top = WidgetOf(form_->TopPanel)->mapTo(WidgetOf(form_), QPoint(0, 0));
    for (const Probe& p : probes) {
        const QPoint glyph = top + QPoint(p.button->GetLeft() + 4, p.button->GetTop() + 4);
        EXPECT_EQ(picture.pixelColor(glyph + p.black), QColor(Qt::black)) << p.button->GetName();
        EXPECT_EQ(picture.pixelColor(glyph), face) << p.button->GetName();
    }
    // The grid on white below the toolbar.
    EXPECT_EQ(picture.pixelColor(400, 40 + 200), QColor(192, 192, 192));
    EXPECT_EQ(picture.pixelColor(404, 40 + 204), QColor(Qt::white));
}

TEST_F(LayoutFormQt, MouseDragsClicksAndPopsUpTheMenu) {
    form_->Show();
    QWidget* panel = WidgetOf(form_->LayoutPanel);
    TKey* one = keys_.GetItem(1);
    // A drag: the key follows the pointer, and the click that ends it opens nothing.
    const QPoint from = CentreOf(1);
    QTest::mousePress(panel, Qt::LeftButton, {}, from);
    QTest::mouseMove(panel, from + QPoint(10, 0));
    QTest::mouseMove(panel, QPoint(201, 150));
    QTest::mouseRelease(panel, Qt::LeftButton, {}, QPoint(201, 150));
    EXPECT_EQ(one->Left, (200 - 16) / 4);
    EXPECT_EQ(one->Top, (148 - 16) / 4);

    // A click opens the key properties dialog; OK refreshes the button.
    ModalDriver user({[&](QWidget* w) {
        auto* dialog =
            dynamic_cast<TKeyPropertiesForm*>(form_->Components(form_->ComponentCount() - 1));
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(w, WidgetOf(dialog));
        dialog->NormalCaptionEdit->SetText("!");
        QTest::keyClick(w, Qt::Key_Return);
    }});
    QTest::mouseClick(panel, Qt::LeftButton, {}, CentreOf(1));
    EXPECT_TRUE(user.done());
    EXPECT_EQ(one->Control->GetCaption(), "!");

    // The popup menu of a key deletes that key.
    QStringList shown;
    ModalDriver popup({[&](QWidget* w) {
        auto* m = qobject_cast<QMenu*>(w);
        ASSERT_NE(m, nullptr);
        for (QAction* a : m->actions())
            shown << a->text();
        QTest::mouseClick(m, Qt::LeftButton, {}, m->actionGeometry(m->actions()[0]).center());
    }});
    QTest::mouseClick(panel, Qt::RightButton, {}, CentreOf(2));
    EXPECT_EQ(shown, QStringList({"&Delete Key", "&Properties"}));
    ASSERT_EQ(keys_.GetCount(), 6);
    EXPECT_EQ(keys_.GetItem(2)->GetKeyCaption(klNormal), "\xD5");
}

// With safe editing the toolbar wraps, so that Close and Cancel stay inside a small window and no
// button lies on another.
TEST(LayoutFormQtSmall, SafeEditingKeepsCloseWithinReach) {
    vcl::qt::InstallQtWidgetset();
    designide::EnvironmentOptions().SafeEditingInDesigners = true;
    {
        TKeyCollection keys;
        TLayoutForm form(nullptr, &keys);
        form.Show();
        form.SetClientWidth(330);
        form.SetClientHeight(200);
        vcl::Application->ProcessMessages();
        QWidget* window = WidgetOf(&form);
        const QImage picture = window->grab().toImage();
        QDir().mkpath(QUIMBEL_GRAB_DIR);
        picture.save(QString(QUIMBEL_GRAB_DIR) + "/layout-designer-form-330x200.png");
        std::vector<std::pair<std::string, QRect>> placed;
        auto rectOf = [&](TControl* c) {
            const QPoint at =
                WidgetOf(c->GetParent())->mapTo(window, QPoint(c->GetLeft(), c->GetTop()));
            return QRect(at, QSize(c->GetWidth(), c->GetHeight()));
        };
        for (TControl* c : std::initializer_list<TControl*>{
                 form.NewKeyBtn, form.LoadLayoutBtn, form.SaveLayoutBtn, form.ClearBtn,
                 form.KeyFontBtn, form.ShiftLeftBtn, form.ShiftUpBtn, form.ShiftDownBtn,
                 form.ShiftRightBtn, form.CloseBtn, form.CancelBtn}) {
            const QRect r = rectOf(c);
            EXPECT_TRUE(window->rect().contains(r)) << c->GetName();
            for (const auto& [name, other] : placed)
                EXPECT_FALSE(r.intersects(other)) << c->GetName() << " on " << name;
            placed.push_back({c->GetName(), r});
        }
        EXPECT_LT(rectOf(form.TopPanel).bottom(), rectOf(form.LayoutPanel).top() + 1);
    }
    designide::EnvironmentOptions().SafeEditingInDesigners = false;
    vcl::qt::UninstallQtWidgetset();
}

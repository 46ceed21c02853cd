// quimbel-ide under the Qt widgetset: what the native widgets show of the Object Inspector and
// the designed form.
#include "IdeMainForm.h"

#include "qt/QtWidgetset.h"

#include <QApplication>
#include <QLineEdit>
#include <QScrollBar>
#include <gtest/gtest.h>

using namespace quimbel::ide;
using vcl::qt::WidgetOf;

namespace {

struct IdeQt : ::testing::Test {
    IdeQt() { vcl::qt::InstallQtWidgetset(); }
    ~IdeQt() override {
        ide.reset();
        vcl::qt::UninstallQtWidgetset();
    }
    std::unique_ptr<TIdeMainForm> ide = std::make_unique<TIdeMainForm>(nullptr);
    TFormDesigner* designer = ide->Designer();

    TObjectInspector::TRow* row(const char* path) {
        auto* r = ide->Inspector()->FindRow(path);
        EXPECT_NE(r, nullptr) << path;
        return r;
    }
    QLineEdit* lineEdit(TObjectInspector::TRow* Row) {
        return static_cast<QLineEdit*>(WidgetOf(Row->ValueEdit));
    }
};

TEST_F(IdeQt, InspectorRowsShowTheirValuesFromTheStartAndEachComponentFromTheTop) {
    ide->Show();
    QApplication::processEvents();
    auto* bar = static_cast<QScrollBar*>(WidgetOf(ide->RowsScrollBar));
    const int rows = static_cast<int>(ide->Inspector()->Rows().size());
    const int shown = ide->RowsPanel->GetClientHeight() / 21;
    ASSERT_GT(rows, shown);
    // The thumb is the shown part of all rows.
    EXPECT_EQ(bar->pageStep(), shown);
    EXPECT_EQ(bar->maximum() + bar->pageStep(), rows);
    // A set longer than its box shows its start.
    EXPECT_EQ(lineEdit(row("BorderIcons"))->cursorPosition(), 0);
    EXPECT_EQ(lineEdit(row("BorderIcons"))->text().left(14), "[biSystemMenu,");

    // Scrolled down, the rows of another component start at the top.
    bar->setValue(bar->maximum());
    EXPECT_EQ(ide->RowsScrollBar->GetPosition(), bar->maximum());
    designer->PlaceComponent(vcl::TEdit::StaticClass(), nullptr, 8, 8);
    QApplication::processEvents();
    EXPECT_EQ(bar->value(), 0);
    EXPECT_EQ(ide->RowsScrollBar->GetPosition(), 0);
    EXPECT_EQ(bar->maximum() + bar->pageStep(), static_cast<int>(ide->Inspector()->Rows().size()));
}

} // namespace

#pragma once
// The Object Inspector: the published properties (or the events) of the selected components,
// one row each, in their declared order, shown and changed through the property editors of the
// design-time framework. A row shows the value in a text box, or in a drop-down list when the
// editor has a value list; a "..." button when the editor has a dialog (paDialog); a "+" button
// that unfolds the sub-properties (paSubProperties: a font's, a set's members). When the rows
// are more than the host shows, a vertical scroll bar moves them by whole rows, and the mouse
// wheel by three rows a notch over the rows and the bar.

#include "designide/DesignEditors.h"
#include "vcl/Buttons.h"
#include "vcl/ExtCtrls.h"
#include "vcl/StdCtrls.h"

#include <functional>
#include <memory>
#include <set>
#include <vector>

namespace quimbel::ide {

class TObjectInspector {
public:
    // Rows are built in Host (a panel of the IDE's window) and scrolled by ScrollBar, whose
    // OnChange and OnMouseWheel the inspector takes over, as it takes over Host's OnResize.
    TObjectInspector(vcl::TWinControl* Host, vcl::TScrollBar* ScrollBar);
    ~TObjectInspector();

    // Shows the properties (Events false) or the events of the selection, read through Designer.
    void Inspect(designide::IDesigner* Designer, const std::vector<vcl::TPersistent*>& Selection);
    void SetShowEvents(bool Value);
    bool ShowEvents() const { return events_; }
    // Reads every shown value again (after a change elsewhere).
    void Refresh();
    // Sets every value typed into a row and not confirmed yet (the IDE calls it before a command
    // reads or discards the form); false when a value was refused (the error was shown).
    bool CommitPending();

    struct TRow {
        std::unique_ptr<designide::TPropertyEditor> Editor;
        vcl::AnsiString Path;  // "Font.Name": the row's place among the unfolded rows
        vcl::AnsiString Shown; // the value as last read from the editor
        int Depth = 0;
        vcl::TLabel* NameLabel = nullptr;
        vcl::TEdit* ValueEdit = nullptr;    // a text value
        vcl::TComboBox* ValueBox = nullptr; // a value list
        vcl::TButton* DialogButton = nullptr;
        vcl::TSpeedButton* ExpandButton = nullptr;
    };
    // The rows shown, in order.
    const std::vector<std::unique_ptr<TRow>>& Rows() const { return rows_; }
    // The height all rows take.
    int RowsHeight() const;
    // The row of a property ("Keys", "Font.Name"), or null.
    TRow* FindRow(const vcl::AnsiString& Path) const;
    // What a user does on a row: types a value and presses Enter, picks an item of the list,
    // presses "...", unfolds or folds the sub-properties.
    void EnterValue(TRow* Row, const vcl::AnsiString& Value);
    void PickValue(TRow* Row, const vcl::AnsiString& Value);
    void PressDialogButton(TRow* Row);
    void ToggleExpanded(TRow* Row);

    // Told before a row's value is set or its dialog opens, with the row's path ("Font.Name").
    std::function<void(const vcl::AnsiString&)> OnChanging;
    // Told when a value could not be set (the editor's message); the IDE shows it.
    std::function<void(const vcl::AnsiString&)> OnError;

private:
    void rebuild();
    void addRows(designide::TPropertyEditorList Editors, const vcl::AnsiString& Prefix, int Depth);
    void showValue(TRow* Row);
    bool commit(TRow* Row, const vcl::AnsiString& Value);
    void clearRows();
    void freeRetiredControls();
    void queueRebuild();
    // Fits the scroll bar's range to the rows and the host's height, and places the rows.
    void updateScrolling();
    // Scrolls the least that brings the row into view.
    void showRow(int Index);
    void wheel(int WheelDelta, bool& Handled);

    vcl::TWinControl* host_;
    vcl::TScrollBar* scrollBar_;
    // The rows' parent: as tall as all rows, moved up inside the host as the bar scrolls.
    std::unique_ptr<vcl::TPanel> rowsPanel_;
    designide::IDesigner* designer_ = nullptr;
    std::vector<vcl::TPersistent*> selection_;
    bool events_ = false;
    std::set<vcl::AnsiString> expanded_;
    std::vector<std::unique_ptr<TRow>> rows_;
    // Controls of cleared rows, freed once the event that cleared them is handled.
    std::vector<vcl::TControl*> retired_;
    int wheelRest_ = 0;
};

} // namespace quimbel::ide

#include "qt/NativeDialogs.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QMessageBox>
#include <QPushButton>

#include "qt/Codepage.h"
#include "qt/Colors.h"
#include "qt/Filters.h"
#include "qt/Fonts.h"

namespace vcl::qt {

namespace {

QString FromFileSystem(const vcl::AnsiString& s) {
    return QFile::decodeName(QByteArray::fromStdString(s));
}
vcl::AnsiString ToFileSystem(const QString& s) {
    return QFile::encodeName(s).toStdString();
}

// Classic initial folders are often Windows paths ("c:\"); a folder that is not there opens
// the home folder instead of wherever the toolkit happens to start.
QString StartFolder(const vcl::AnsiString& initialDir) {
    const QString dir = FromFileSystem(initialDir);
    if (!dir.isEmpty() && QFileInfo(dir).isDir()) return QFileInfo(dir).absoluteFilePath();
    return QDir::homePath();
}

} // namespace

FileDialogResult RunFileDialog(const FileDialogRequest& r, QWidget* parent) {
    QString title = ToQString(r.Title);
    if (title.isEmpty()) title = r.Save ? QStringLiteral("Save As") : QStringLiteral("Open");
    QFileDialog dlg(parent, title, StartFolder(r.InitialDir));
    dlg.setAcceptMode(r.Save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    if (r.Save || !r.FileMustExist)
        dlg.setFileMode(QFileDialog::AnyFile);
    else
        dlg.setFileMode(r.AllowMultiSelect ? QFileDialog::ExistingFiles
                                           : QFileDialog::ExistingFile);
    dlg.setOption(QFileDialog::DontConfirmOverwrite, !(r.Save && r.OverwritePrompt));
    QString ext = ToQString(r.DefaultExt);
    while (ext.startsWith(QLatin1Char('.')))
        ext.remove(0, 1);
    dlg.setDefaultSuffix(ext);
    const QStringList filters = ToQtFilters(r.Filter);
    if (!filters.isEmpty()) {
        dlg.setNameFilters(filters);
        const int index = r.FilterIndex >= 1 && r.FilterIndex <= filters.size() ? r.FilterIndex : 1;
        dlg.selectNameFilter(filters[index - 1]);
    }
    if (!r.FileName.empty()) dlg.selectFile(FromFileSystem(r.FileName));

    FileDialogResult result;
    result.FilterIndex = r.FilterIndex;
    if (dlg.exec() != QDialog::Accepted) return result;
    const QStringList files = dlg.selectedFiles();
    if (files.isEmpty()) return result;
    if (!r.Save && r.FileMustExist) {
        for (const QString& f : files)
            if (!QFileInfo(f).isFile()) return result;
    }
    if (r.PathMustExist && !QFileInfo(QFileInfo(files.first()).absolutePath()).isDir())
        return result;
    result.Accepted = true;
    result.FileName = ToFileSystem(files.first());
    for (const QString& f : files)
        result.Files.push_back(ToFileSystem(f));
    const int chosen = filters.indexOf(dlg.selectedNameFilter());
    if (chosen >= 0) result.FilterIndex = chosen + 1;
    return result;
}

namespace {

struct NamedColor {
    const char* Name;
    std::uint32_t Color;
};
// The colour list of the classic font dialog.
constexpr NamedColor kFontColors[] = {
    {"Black", 0x000000},  {"Maroon", 0x000080},  {"Green", 0x008000}, {"Olive", 0x008080},
    {"Navy", 0x800000},   {"Purple", 0x800080},  {"Teal", 0x808000},  {"Gray", 0x808080},
    {"Silver", 0xC0C0C0}, {"Red", 0x0000FF},     {"Lime", 0x00FF00},  {"Yellow", 0x00FFFF},
    {"Blue", 0xFF0000},   {"Fuchsia", 0xFF00FF}, {"Aqua", 0xFFFF00},  {"White", 0xFFFFFF},
};

QComboBox* AddColorChoice(QFontDialog& dlg, std::uint32_t current) {
    // Qt's font dialog has no colour, yet a font carries one: a colour list goes under the effects.
    QGroupBox* effects = nullptr;
    for (QGroupBox* box : dlg.findChildren<QGroupBox*>())
        if (box->title().contains(QStringLiteral("Effects"), Qt::CaseInsensitive)) effects = box;
    if (!effects || !effects->layout()) return nullptr;
    auto* combo = new QComboBox(effects);
    combo->setObjectName(QStringLiteral("ColorComboBox"));
    int selected = -1;
    for (const NamedColor& c : kFontColors) {
        QPixmap swatch(12, 12);
        swatch.fill(ColorToQColor(c.Color));
        combo->addItem(QIcon(swatch), QString::fromLatin1(c.Name), QVariant::fromValue(c.Color));
        if (c.Color == current) selected = combo->count() - 1;
    }
    if (selected < 0) {
        // A system colour or a custom one stays what it was unless the user picks another.
        QPixmap swatch(12, 12);
        swatch.fill(ColorToQColor(current));
        combo->insertItem(0, QIcon(swatch), QStringLiteral("Custom"), QVariant::fromValue(current));
        selected = 0;
    }
    combo->setCurrentIndex(selected);
    auto* label = new QLabel(QStringLiteral("&Color:"), effects);
    label->setBuddy(combo);
    effects->layout()->addWidget(label);
    effects->layout()->addWidget(combo);
    return combo;
}

} // namespace

FontDialogResult RunFontDialog(const FontDialogRequest& r, QWidget* parent) {
    QFontDialog dlg(parent);
    // The toolkit's own dialog, since a desktop's native one would hide the colour choice.
    dlg.setOption(QFontDialog::DontUseNativeDialog, true);
    dlg.setOption(QFontDialog::NoButtons, false);
    dlg.setCurrentFont(
        MakeFont(r.Name, r.Size, FontStyle{r.Bold, r.Italic, r.Underline, r.StrikeOut}));
    QComboBox* colors = r.Effects ? AddColorChoice(dlg, r.Color) : nullptr;
    if (!r.Effects)
        for (QGroupBox* box : dlg.findChildren<QGroupBox*>())
            if (box->title().contains(QStringLiteral("Effects"), Qt::CaseInsensitive)) box->hide();

    FontDialogResult result;
    if (dlg.exec() != QDialog::Accepted) return result;
    const QFont f = dlg.selectedFont();
    result.Accepted = true;
    const QString family = f.family();
    result.Name = family.compare(SubstituteFamily(r.Name), Qt::CaseInsensitive) == 0
                      ? r.Name
                      : FromQString(family);
    int size = f.pointSize() > 0 ? f.pointSize() : r.Size;
    if (r.MinFontSize > 0 && size < r.MinFontSize) size = r.MinFontSize;
    if (r.MaxFontSize > 0 && size > r.MaxFontSize) size = r.MaxFontSize;
    result.Size = size;
    result.Bold = f.bold();
    result.Italic = f.italic();
    result.Underline = r.Effects ? f.underline() : r.Underline;
    result.StrikeOut = r.Effects ? f.strikeOut() : r.StrikeOut;
    result.Color = colors ? colors->currentData().value<std::uint32_t>() : r.Color;
    return result;
}

int RunMessageDialog(const vcl::AnsiString& Message, int Kind, unsigned Buttons, QWidget* parent) {
    static const char* const titles[] = {"Warning", "Error", "Information", "Confirmation", ""};
    static const QMessageBox::Icon icons[] = {QMessageBox::Warning, QMessageBox::Critical,
                                              QMessageBox::Information, QMessageBox::Question,
                                              QMessageBox::NoIcon};
    const int kind = Kind >= mkWarning && Kind <= mkCustom ? Kind : mkCustom;
    QMessageBox box(parent);
    QString title = QString::fromLatin1(titles[kind]);
    if (title.isEmpty()) title = QApplication::applicationName();
    box.setWindowTitle(title);
    box.setIcon(icons[kind]);
    box.setText(ToQString(Message));

    struct Choice {
        MsgDlgButton Button;
        QMessageBox::StandardButton Qt;
        int Result;
    };
    static const Choice choices[] = {
        {mbtYes, QMessageBox::Yes, 6},         {mbtNo, QMessageBox::No, 7},
        {mbtOK, QMessageBox::Ok, 1},           {mbtCancel, QMessageBox::Cancel, 2},
        {mbtAbort, QMessageBox::Abort, 3},     {mbtRetry, QMessageBox::Retry, 4},
        {mbtIgnore, QMessageBox::Ignore, 5},   {mbtAll, QMessageBox::NoButton, 8},
        {mbtNoToAll, QMessageBox::NoToAll, 9}, {mbtYesToAll, QMessageBox::YesToAll, 10},
        {mbtHelp, QMessageBox::Help, 0},
    };
    if ((Buttons & 0x7FFu) == 0) Buttons = 1u << mbtOK;
    std::vector<std::pair<QAbstractButton*, int>> made;
    for (const Choice& c : choices) {
        if (!(Buttons & (1u << c.Button))) continue;
        QAbstractButton* b = nullptr;
        if (c.Button == mbtAll)
            b = box.addButton(QStringLiteral("&All"), QMessageBox::AcceptRole);
        else
            b = box.addButton(c.Qt);
        made.emplace_back(b, c.Result);
    }
    auto find = [&](int result) -> QAbstractButton* {
        for (auto& m : made)
            if (m.second == result) return m.first;
        return nullptr;
    };
    // The classic defaults: OK or Yes is the default button; Cancel, else No, else OK ends the
    // dialog on Escape and on the close box.
    QAbstractButton* def = find(1) ? find(1) : find(6);
    if (!def && !made.empty()) def = made.front().first;
    if (auto* push = qobject_cast<QPushButton*>(def)) box.setDefaultButton(push);
    QAbstractButton* esc = find(2) ? find(2) : (find(7) ? find(7) : find(1));
    if (esc) box.setEscapeButton(esc);

    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    if (!clicked) clicked = esc;
    for (auto& m : made)
        if (m.first == clicked) return m.second;
    return 2; // closed without any of its buttons: cancelled
}

void SystemBeep() {
    QApplication::beep();
}

} // namespace vcl::qt

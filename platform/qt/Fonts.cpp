#include "qt/Fonts.h"

#include <QFontDatabase>
#include <QHash>

#include "qt/Codepage.h"
#include "qt/Symbols.h"
#include "rtl/CodePage.h"

namespace vcl::qt {

namespace {

enum class Kind { Sans, Serif, Mono };

// Faces of the classic desktop and what kind of face stands in for them. Symbol faces are shown
// through their Unicode symbols, which a sans-serif face carries.
Kind KindOf(const QString& face) {
    static const char* const serif[] = {"ms serif", "times new roman", "times",   "roman",
                                        "georgia",  "book antiqua",    "garamond"};
    static const char* const mono[] = {"courier new",    "courier",  "fixedsys", "terminal",
                                       "lucida console", "consolas", "ms gothic"};
    const QString f = face.toLower();
    for (const char* s : serif)
        if (f == QLatin1String(s)) return Kind::Serif;
    for (const char* s : mono)
        if (f == QLatin1String(s)) return Kind::Mono;
    return Kind::Sans;
}

// The script of the active ANSI code page, which a substitute face must cover.
QFontDatabase::WritingSystem ActiveScript() {
    switch (vcl::GetAnsiCodePage()) {
    case 874:
        return QFontDatabase::Thai;
    case 1251:
        return QFontDatabase::Cyrillic;
    case 1253:
        return QFontDatabase::Greek;
    case 1255:
        return QFontDatabase::Hebrew;
    case 1256:
        return QFontDatabase::Arabic;
    case 1258:
        return QFontDatabase::Vietnamese;
    default:
        return QFontDatabase::Latin;
    }
}

// The first installed candidate that covers the active script, else the first installed one.
QString FirstInstalled(const QStringList& families, const QStringList& candidates,
                       QFont::StyleHint hint) {
    const QFontDatabase::WritingSystem script = ActiveScript();
    QString installed;
    for (const QString& c : candidates)
        for (const QString& f : families)
            if (f.compare(c, Qt::CaseInsensitive) == 0) {
                if (QFontDatabase::writingSystems(f).contains(script)) return f;
                if (installed.isEmpty()) installed = f;
            }
    if (!installed.isEmpty()) return installed;
    QFont probe;
    probe.setStyleHint(hint);
    return probe.defaultFamily();
}

QString Installed(const QStringList& families, const QString& face) {
    for (const QString& f : families)
        if (f.compare(face, Qt::CaseInsensitive) == 0) return f;
    return QString();
}

} // namespace

QString SubstituteFamily(const vcl::AnsiString& Face) {
    // The font database is slow to ask; forms ask for the same few faces again and again. The
    // choice depends on the script of the code page.
    static QHash<QString, QString> cache;
    const QString face = ToQString(Face).trimmed();
    const QString cacheKey =
        QString::number(vcl::GetAnsiCodePage()) + QLatin1Char(':') + face.toLower();
    auto it = cache.constFind(cacheKey);
    if (it != cache.constEnd()) return *it;

    const QStringList families = QFontDatabase::families();
    QString result = face.isEmpty() || IsSymbolFont(Face) ? QString() : Installed(families, face);
    if (result.isEmpty()) {
        switch (KindOf(face)) {
        case Kind::Serif:
            result = FirstInstalled(
                families, {"Liberation Serif", "Tinos", "Times New Roman", "DejaVu Serif"},
                QFont::Serif);
            break;
        case Kind::Mono:
            result = FirstInstalled(
                families, {"Liberation Mono", "Cousine", "Courier New", "DejaVu Sans Mono"},
                QFont::Monospace);
            break;
        case Kind::Sans:
            result = FirstInstalled(
                families, {"Liberation Sans", "Arimo", "Arial", "Helvetica", "DejaVu Sans"},
                QFont::SansSerif);
            break;
        }
    }
    cache.insert(cacheKey, result);
    return result;
}

QFont MakeFont(const vcl::AnsiString& Face, int PointSize, FontStyle Style) {
    QFont font(SubstituteFamily(Face));
    font.setPointSize(PointSize > 0 ? PointSize : 8);
    font.setBold(Style.Bold);
    font.setItalic(Style.Italic);
    font.setUnderline(Style.Underline);
    font.setStrikeOut(Style.StrikeOut);
    switch (KindOf(ToQString(Face))) {
    case Kind::Serif:
        font.setStyleHint(QFont::Serif);
        break;
    case Kind::Mono:
        font.setStyleHint(QFont::Monospace);
        break;
    case Kind::Sans:
        font.setStyleHint(QFont::SansSerif);
        break;
    }
    return font;
}

} // namespace vcl::qt

#include "qt/Filters.h"

#include "qt/Codepage.h"

namespace vcl::qt {

QStringList ToQtFilters(const vcl::AnsiString& Filter) {
    QStringList result;
    const QStringList parts = ToQString(Filter).split(QLatin1Char('|'));
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        const QString description = parts[i].trimmed();
        QStringList original, patterns;
        for (const QString& pat : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            const QString p = pat.trimmed();
            if (p.isEmpty()) continue;
            original << p;
            patterns << (p == QLatin1String("*.*") ? QStringLiteral("*") : p);
        }
        if (patterns.isEmpty()) continue;
        const QString suffix =
            QLatin1Char('(') + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
        // Qt reads the patterns from the trailing parentheses, so a description that shows its
        // patterns there gets them in Qt's spelling instead of a second pair.
        QString shown = description;
        for (const QString& sep : {QStringLiteral(";"), QStringLiteral("; "), QStringLiteral(" "),
                                   QStringLiteral(", "), QStringLiteral(",")}) {
            const QString classic = QLatin1Char('(') + original.join(sep) + QLatin1Char(')');
            if (shown.endsWith(classic)) {
                shown.chop(classic.size());
                shown = shown.trimmed();
                break;
            }
        }
        result << (shown.isEmpty() ? suffix : shown + QLatin1Char(' ') + suffix);
    }
    return result;
}

QString ToQtFilter(const vcl::AnsiString& Filter) {
    return ToQtFilters(Filter).join(QStringLiteral(";;"));
}

} // namespace vcl::qt

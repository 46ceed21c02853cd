#include "inputmethod/InputConfig.h"

#include "qt/Codepage.h"
#include "runtime/LayoutStream.h"
#include "runtime/Quimbel.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <algorithm>
#include <iterator>

namespace quimbel::im {

namespace {

bool isLayoutFile(const QString& layout) {
    return layout.contains(QLatin1Char('/')) ||
           layout.endsWith(QLatin1String(".kly"), Qt::CaseInsensitive);
}

bool parseBool(const QString& value, bool& out) {
    const QString v = value.toLower();
    if (v == QLatin1String("true") || v == QLatin1String("yes") || v == QLatin1String("on") ||
        v == QLatin1String("1"))
        out = true;
    else if (v == QLatin1String("false") || v == QLatin1String("no") ||
             v == QLatin1String("off") || v == QLatin1String("0"))
        out = false;
    else
        return false;
    return true;
}

} // namespace

QString LayoutProblem(const QString& layout) {
    if (layout.isEmpty()) return QStringLiteral("empty layout name");
    if (!isLayoutFile(layout)) {
        if (quimbel::BuiltInLayoutCodePage(vcl::qt::FromQString(layout)) != 0) return {};
        return QStringLiteral("no built-in layout \"%1\" (built-in: %2)")
            .arg(layout, vcl::qt::ToQString(quimbel::BuiltInLayoutNames()));
    }
    const quimbel::TLayoutRead read = quimbel::TLayoutRead::FromFile(vcl::qt::FromQString(layout));
    if (!read.Failed()) return {};
    try {
        read.RaiseError();
    } catch (const vcl::Exception& e) {
        return QStringLiteral("layout %1 does not load: %2")
            .arg(layout, vcl::qt::ToQString(e.Message()));
    }
    return QStringLiteral("layout %1 does not load").arg(layout);
}

QStringList ParseLayoutList(const QString& value, const QString& where, QStringList& problems) {
    QStringList layouts;
    for (const QString& part : value.split(QLatin1Char(','))) {
        const QString layout = part.trimmed();
        const QString problem = LayoutProblem(layout);
        if (problem.isEmpty())
            layouts << layout;
        else
            problems << where + QStringLiteral(": ") + problem;
    }
    return layouts;
}

void ParseInputConfig(const QByteArray& text, const QString& file, InputConfig& config,
                      QStringList& problems) {
    const QHash<QString, bool*> flags{
        {QStringLiteral("beep"), &config.beep},
        {QStringLiteral("repeat"), &config.keyRepeat},
        {QStringLiteral("long-press"), &config.longPress},
        {QStringLiteral("multi-touch"), &config.multiTouch},
        {QStringLiteral("scale-captions"), &config.scaleCaptions},
        {QStringLiteral("latching"), &config.latching},
        {QStringLiteral("caps-lock-letters-only"), &config.capsLettersOnly},
        {QStringLiteral("key-preview"), &config.keyPreview},
        {QStringLiteral("prepare"), &config.prepare},
    };
    const QList<QByteArray> lines = text.split('\n');
    for (int i = 0; i < lines.size(); ++i) {
        const QString where = QStringLiteral("%1:%2").arg(file).arg(i + 1);
        const QString line = QString::fromUtf8(lines[i]).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')) || line.startsWith(QLatin1Char(';')))
            continue;
        if (line.startsWith(QLatin1Char('['))) {
            // One section, so that the file also reads as a QSettings file.
            if (line.compare(QLatin1String("[keyboard]"), Qt::CaseInsensitive) != 0 &&
                line.compare(QLatin1String("[General]"), Qt::CaseInsensitive) != 0)
                problems << where + QStringLiteral(": unknown section %1 (known: [keyboard])").arg(line);
            continue;
        }
        const int equals = line.indexOf(QLatin1Char('='));
        if (equals < 0) {
            problems << where + QStringLiteral(": not a \"key = value\" line");
            continue;
        }
        const QString key = line.left(equals).trimmed().toLower();
        const QString value = line.mid(equals + 1).trimmed();
        auto bad = [&](const QString& why) {
            problems << where + QStringLiteral(": %1 = %2: %3").arg(key, value, why);
        };
        if (key == QLatin1String("layouts")) {
            const QStringList layouts = ParseLayoutList(value, where, problems);
            if (!layouts.isEmpty()) config.layouts = layouts;
        } else if (key == QLatin1String("height")) {
            QString number = value;
            if (number.endsWith(QLatin1Char('%'))) number.chop(1);
            bool ok = false;
            const int percent = number.toInt(&ok);
            if (!ok || percent < 10 || percent > 90)
                bad(QStringLiteral("expected a percentage of the screen's height from 10 to 90"));
            else
                config.heightPercent = percent;
        } else if (key == QLatin1String("position")) {
            const QString v = value.toLower();
            if (v == QLatin1String("bottom"))
                config.position = PanelPosition::Bottom;
            else if (v == QLatin1String("top"))
                config.position = PanelPosition::Top;
            else if (v == QLatin1String("automatic"))
                config.position = PanelPosition::Automatic;
            else
                bad(QStringLiteral("expected bottom, top or automatic"));
        } else if (bool* flag = flags.value(key)) {
            if (!parseBool(value, *flag)) bad(QStringLiteral("expected true or false"));
        } else if (key == QLatin1String("repeat-delay") || key == QLatin1String("repeat-rate")) {
            const bool delay = key == QLatin1String("repeat-delay");
            const int low = delay ? 100 : 1, high = delay ? 5000 : 100;
            bool ok = false;
            const int number = value.toInt(&ok);
            if (!ok || number < low || number > high)
                bad(QStringLiteral("expected a whole number of %1 from %2 to %3")
                        .arg(delay ? QStringLiteral("milliseconds") : QStringLiteral("repeats a second"))
                        .arg(low)
                        .arg(high));
            else
                (delay ? config.repeatDelay : config.repeatRate) = number;
        } else if (key == QLatin1String("highlight-color")) {
            const QColor color = QColor::fromString(value);
            if (!color.isValid())
                bad(QStringLiteral("expected a colour such as #c00000 or red"));
            else
                config.highlightColor = color;
        } else if (key == QLatin1String("theme")) {
            static const char* const names[] = {"classic", "native", "light", "dark",
                                                "high-contrast"};
            const auto* found = std::find_if(std::begin(names), std::end(names),
                                              [&](const char* n) {
                                                  return value.toLower() == QLatin1String(n);
                                              });
            if (found == std::end(names))
                bad(QStringLiteral("expected classic, native, light, dark or high-contrast"));
            else
                config.theme = static_cast<QuimbelKeyboard::Theme>(found - std::begin(names));
        } else {
            problems << where + QStringLiteral(": unknown key \"%1\" (known: layouts, height, "
                                               "position, beep, highlight-color, theme, "
                                               "repeat, repeat-delay, repeat-rate, long-press, "
                                               "multi-touch, scale-captions, latching, "
                                               "caps-lock-letters-only, key-preview, prepare)")
                                    .arg(key);
        }
    }
}

QString InputConfigFile() {
    const QString given = qEnvironmentVariable("QUIMBEL_CONFIG");
    if (!given.isEmpty()) return given;
    QString xdg = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (xdg.isEmpty()) xdg = QDir::homePath() + QStringLiteral("/.config");
    const QString user = xdg + QStringLiteral("/quimbel/keyboard.conf");
    if (QFileInfo::exists(user)) return user;
    const QString system = QStringLiteral("/etc/xdg/quimbel/keyboard.conf");
    if (QFileInfo::exists(system)) return system;
    return {};
}

InputConfig ReadInputConfig(QStringList& problems) {
    InputConfig config;
    const QString file = InputConfigFile();
    if (!file.isEmpty()) {
        QFile f(file);
        if (f.open(QIODevice::ReadOnly))
            ParseInputConfig(f.readAll(), file, config, problems);
        else
            problems << QStringLiteral("%1: cannot read: %2").arg(file, f.errorString());
    }
    const QString env = qEnvironmentVariable("QUIMBEL_LAYOUTS");
    if (!env.isEmpty()) {
        const QStringList layouts =
            ParseLayoutList(env, QStringLiteral("QUIMBEL_LAYOUTS"), problems);
        if (!layouts.isEmpty()) config.layouts = layouts;
    }
    return config;
}

} // namespace quimbel::im

#include <gtest/gtest.h>

#include "inputmethod/InputConfig.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using quimbel::im::InputConfig;
using quimbel::im::PanelPosition;

TEST(InputConfig, EveryLineTakesEffectOrSaysWhyNot) {
    QTemporaryDir dir;
    const QString broken = dir.filePath("broken.kly");
    QFile f(broken);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("not a layout");
    f.close();

    InputConfig config;
    QStringList problems;
    const QByteArray text = "# a kiosk\n"
                            "[keyboard]\n"
                            "layouts = de, xx, " + broken.toUtf8() + ", us\n"
                            "height = 40%\n"
                            "position = top\n"
                            "beep = yes\n"
                            "highlight-color = #00ff00\n"
                            "colour = red\n"
                            "height = 5\n"
                            "position = left\n"
                            "beep = maybe\n"
                            "highlight-color = nocolour\n"
                            "just words\n"
                            "[other]\n";
    quimbel::im::ParseInputConfig(text, "k.conf", config, problems);
    EXPECT_EQ(config.layouts, QStringList({"de", "us"}));
    EXPECT_EQ(config.heightPercent, 40);
    EXPECT_EQ(config.position, PanelPosition::Top);
    EXPECT_TRUE(config.beep);
    EXPECT_EQ(config.highlightColor, QColor(0, 255, 0));
    ASSERT_EQ(problems.size(), 9) << problems.join('\n').toStdString();
    EXPECT_TRUE(problems[0].startsWith("k.conf:3: no built-in layout \"xx\"")) << problems[0].toStdString();
    EXPECT_TRUE(problems[1].startsWith("k.conf:3: layout " + broken + " does not load: "))
        << problems[1].toStdString();
    EXPECT_TRUE(problems[2].startsWith("k.conf:8: unknown key \"colour\"")) << problems[2].toStdString();
    EXPECT_TRUE(problems[3].startsWith("k.conf:9: height = 5: ")) << problems[3].toStdString();
    EXPECT_TRUE(problems[4].startsWith("k.conf:10: position = left: ")) << problems[4].toStdString();
    EXPECT_TRUE(problems[5].startsWith("k.conf:11: beep = maybe: ")) << problems[5].toStdString();
    EXPECT_TRUE(problems[6].startsWith("k.conf:12: highlight-color = nocolour: "));
    EXPECT_EQ(problems[7], "k.conf:13: not a \"key = value\" line");
    EXPECT_TRUE(problems[8].startsWith("k.conf:14: unknown section [other]"));

    InputConfig themed;
    QStringList themeProblems;
    quimbel::im::ParseInputConfig("theme = High-Contrast\ntheme = neon\n", "t.conf", themed,
                                  themeProblems);
    EXPECT_EQ(themed.theme, QuimbelKeyboard::HighContrastTheme);
    ASSERT_EQ(themeProblems.size(), 1);
    EXPECT_TRUE(themeProblems[0].startsWith("t.conf:2: theme = neon: "));

    // The environment's list wins over the file's; a list with no usable layout keeps the file's.
    const QString file = dir.filePath("keyboard.conf");
    QFile conf(file);
    ASSERT_TRUE(conf.open(QIODevice::WriteOnly));
    conf.write("layouts = ru\n");
    conf.close();
    qputenv("QUIMBEL_CONFIG", file.toUtf8());
    qputenv("QUIMBEL_LAYOUTS", "el,numpad");
    problems.clear();
    EXPECT_EQ(quimbel::im::ReadInputConfig(problems).layouts, QStringList({"el", "numpad"}));
    qputenv("QUIMBEL_LAYOUTS", "nope");
    EXPECT_EQ(quimbel::im::ReadInputConfig(problems).layouts, QStringList({"ru"}));
    EXPECT_EQ(problems.size(), 1);
    EXPECT_TRUE(problems.value(0).startsWith("QUIMBEL_LAYOUTS: no built-in layout \"nope\""));
    qunsetenv("QUIMBEL_LAYOUTS");
    qunsetenv("QUIMBEL_CONFIG");
}

TEST(InputConfig, TouchOptionsAreCheckedAndTheirErrorsReported) {
    InputConfig config;
    QStringList problems;
    const QByteArray text = "repeat = off\n"
                            "repeat-delay = 300\n"
                            "repeat-rate = 30\n"
                            "long-press = no\n"
                            "multi-touch = false\n"
                            "scale-captions = 0\n"
                            "latching = off\n"
                            "caps-lock-letters-only = no\n"
                            "key-preview = false\n"
                            "prepare = off\n"
                            "repeat-delay = 20\n"
                            "repeat-rate = fast\n"
                            "latching = twice\n";
    quimbel::im::ParseInputConfig(text, "t.conf", config, problems);
    EXPECT_FALSE(config.keyRepeat || config.longPress || config.multiTouch ||
                 config.scaleCaptions || config.latching || config.capsLettersOnly ||
                 config.keyPreview || config.prepare);
    EXPECT_EQ(config.repeatDelay, 300);
    EXPECT_EQ(config.repeatRate, 30);
    EXPECT_EQ(problems,
              QStringList({"t.conf:11: repeat-delay = 20: expected a whole number of milliseconds "
                           "from 100 to 5000",
                           "t.conf:12: repeat-rate = fast: expected a whole number of repeats a "
                           "second from 1 to 100",
                           "t.conf:13: latching = twice: expected true or false"}));
    // The defaults are what QuimbelKeyboard has.
    const InputConfig defaults;
    EXPECT_TRUE(defaults.keyRepeat && defaults.longPress && defaults.multiTouch &&
                defaults.scaleCaptions && defaults.latching && defaults.capsLettersOnly &&
                defaults.keyPreview && defaults.prepare);
}

// kly render: pictures of a layout in each modifier state, drawn offscreen by the Qt widgetset.

#include <QColor>
#include <QImage>
#include <gtest/gtest.h>

#include "TestSupport.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <unistd.h>

namespace {

class KlyRender : public ::testing::Test {
protected:
    std::string Path(const std::string& name) const { return dir_.Path(name); }

    int Kly(const std::string& args, std::string* out = nullptr, std::string* err = nullptr) const {
        const testsupport::RunResult r =
            testsupport::RunProgram("'" KLY_PROGRAM "' " + args, dir_.Dir());
        if (out) *out = r.out;
        if (err) *err = r.err;
        return r.status;
    }

    // The bounds kly geometry gives key Index of the layout at Size.
    QRect KeyBounds(const std::string& Layout, const std::string& Size, int Index) const {
        std::string out;
        EXPECT_EQ(Kly("geometry " + Layout + " --size " + Size, &out), 0);
        std::istringstream lines(out);
        int index, left, top, width, height;
        while (lines >> index >> left >> top >> width >> height)
            if (index == Index) return QRect(left, top, width, height);
        return QRect();
    }

    // Pixels inside Area in the keyboard's highlight colour (pure red) or close to it.
    static int RedPixels(const QImage& Picture, const QRect& Area) {
        int count = 0;
        for (int y = Area.top(); y <= Area.bottom(); ++y)
            for (int x = Area.left(); x <= Area.right(); ++x) {
                const QColor c = Picture.pixelColor(x, y);
                if (c.red() > 180 && c.green() < 80 && c.blue() < 80) ++count;
            }
        return count;
    }

    testsupport::TempDir dir_;
};

const std::string De = "'" KLY_LAYOUT_FILES "/de.kly'";

TEST_F(KlyRender, DrawsEachStateWithItsCaptionsAndHighlights) {
    for (const char* state : {"normal", "shift", "caps", "altgr"}) {
        std::string err;
        EXPECT_EQ(Kly("render " + De + " --size 760x260 -o " + state + ".png --state " + state,
                      nullptr, &err),
                  0)
            << state << ": " << err;
    }
    QImage normal(QString::fromStdString(Path("normal.png")));
    QImage shift(QString::fromStdString(Path("shift.png")));
    QImage caps(QString::fromStdString(Path("caps.png")));
    QImage altgr(QString::fromStdString(Path("altgr.png")));
    ASSERT_EQ(normal.size(), QSize(760, 260));
    ASSERT_EQ(shift.size(), QSize(760, 260));

    // The left Shift key (54), Caps Lock (41) and Alt Gr (68) are red in their own state only.
    const QRect shiftKey = KeyBounds(De, "760x260", 54);
    const QRect capsKey = KeyBounds(De, "760x260", 41);
    const QRect altGrKey = KeyBounds(De, "760x260", 68);
    EXPECT_EQ(
        RedPixels(normal, shiftKey) + RedPixels(normal, capsKey) + RedPixels(normal, altGrKey), 0);
    EXPECT_GT(RedPixels(shift, shiftKey), 20);
    EXPECT_EQ(RedPixels(shift, capsKey), 0);
    EXPECT_GT(RedPixels(caps, capsKey), 20);
    EXPECT_EQ(RedPixels(caps, shiftKey), 0);
    EXPECT_GT(RedPixels(altgr, altGrKey), 20);
    EXPECT_EQ(RedPixels(altgr, shiftKey), 0);

    // Letters change caption with the level; the Esc key does not.
    const QRect q = KeyBounds(De, "760x260", 28);
    const QRect esc = KeyBounds(De, "760x260", 0);
    EXPECT_NE(normal.copy(q), shift.copy(q));
    EXPECT_NE(normal.copy(q), altgr.copy(q));
    EXPECT_EQ(shift.copy(q), caps.copy(q));
    EXPECT_EQ(normal.copy(esc), shift.copy(esc));
}

TEST_F(KlyRender, RejectsWhatItCannotDraw) {
    std::string err;
    EXPECT_EQ(Kly("render " + De + " --size 400x80 -o x.png --state bold"), 2);
    EXPECT_EQ(Kly("render " + De + " --size 400x80"), 2); // no output named
    EXPECT_EQ(Kly("render " + De + " -o x.png"), 2);      // no size
    EXPECT_EQ(Kly("render " + De + " --size 9000x80 -o x.png", nullptr, &err), 1);
    EXPECT_EQ(err, "kly: a picture can be at most 8192 x 8192 pixels\n");
    EXPECT_EQ(Kly("render missing.kly --size 400x80 -o x.png", nullptr, &err), 1);
    EXPECT_NE(err.find("missing.kly"), std::string::npos) << err;
    EXPECT_EQ(Kly("render " + De + " --size 400x80 -o no/such/folder/x.png", nullptr, &err), 1);
    EXPECT_EQ(err, "kly: no/such/folder/x.png: cannot write the picture\n");
    EXPECT_FALSE(std::ifstream(Path("x.png")).good());
}

} // namespace

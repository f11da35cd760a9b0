#include "TLabel3D.h"
#include "TUrlLabel.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QTest>
#include <gtest/gtest.h>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace mirelo {
namespace {

// Plain colours, so that every pixel tells which pass drew it.
const QColor Highlight(255, 0, 0);
const QColor Shadow(0, 255, 0);
const QColor Ink(0, 0, 255);
const QColor Ground(0, 0, 0);

// A tall bold "I" without smoothing: a solid stem several pixels wide.
struct Label3D {
    TLabel3D label{QStringLiteral("I")};

    explicit Label3D(TCaptionStyle style) {
        QFont font(QStringLiteral("Arial"));
        font.setPixelSize(40);
        font.setBold(true);
        font.setStyleStrategy(QFont::NoAntialias);
        label.setFont(font);
        QPalette pal = label.palette();
        pal.setColor(QPalette::Light, Highlight);
        pal.setColor(QPalette::Dark, Shadow);
        label.setPalette(pal);
        label.SetColor(Ground);
        label.SetFontColor(Ink);
        label.SetCaptionStyle(style);
        label.resize(80, 60);
    }

    QImage Picture() { return label.grab().toImage().convertToFormat(QImage::Format_RGB32); }
};

// The smallest rectangle holding every pixel of `colour`.
QRect Extent(const QImage& image, const QColor& colour) {
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) == colour)
                box |= QRect(x, y, 1, 1);
    return box;
}

// The one colour found down column x between rows top and bottom, or nothing
// when the column is plain ground there.
std::optional<QColor> ColumnColour(const QImage& image, int x, int top, int bottom) {
    std::optional<QColor> found;
    for (int y = top; y <= bottom; ++y) {
        const QColor c = image.pixelColor(x, y);
        if (c == Ground)
            continue;
        if (found && *found != c)
            return QColor(Qt::white); // mixed: never expected
        found = c;
    }
    return found;
}

struct EchoCase {
    TCaptionStyle style;
    std::optional<QColor> right; // the (+1, +1) echo
    std::optional<QColor> left;  // the (-1, -1) echo
};

void PrintTo(const EchoCase& c, std::ostream* os) {
    *os << "style " << int(c.style);
}

std::string StyleName(const ::testing::TestParamInfo<EchoCase>& info) {
    static const char* const names[] = {"csNone", "csRaised", "csHeavyRaised", "csRecessed",
                                        "csHeavyRecessed"};
    return names[int(info.param.style)];
}

class Label3DEchoes : public ::testing::TestWithParam<EchoCase> {};

TEST_P(Label3DEchoes, OffsetPassesUseTheButtonColours) {
    const EchoCase c = GetParam();
    Label3D l(c.style);
    const QImage picture = l.Picture();
    const QRect stem = Extent(picture, Ink);
    ASSERT_GE(stem.width(), 3);
    ASSERT_GE(stem.left(), 1);
    // The rows both echoes share with the stem, clear of its ends.
    const int top = stem.top() + 2, bottom = stem.bottom() - 2;
    EXPECT_EQ(ColumnColour(picture, stem.right() + 1, top, bottom), c.right);
    EXPECT_EQ(ColumnColour(picture, stem.left() - 1, top, bottom), c.left);
    EXPECT_EQ(ColumnColour(picture, stem.right() + 2, top, bottom), std::nullopt);
    EXPECT_EQ(ColumnColour(picture, stem.left() - 2, top, bottom), std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(
    AllStyles, Label3DEchoes,
    ::testing::Values(EchoCase{TCaptionStyle::csNone, std::nullopt, std::nullopt},
                      EchoCase{TCaptionStyle::csRaised, std::nullopt, Highlight},
                      EchoCase{TCaptionStyle::csHeavyRaised, Shadow, Highlight},
                      EchoCase{TCaptionStyle::csRecessed, Highlight, std::nullopt},
                      EchoCase{TCaptionStyle::csHeavyRecessed, Highlight, Shadow}),
    StyleName);

TEST(Label3D, TheUpperLeftEchoIsDrawnLast) {
    // With invisible ink the middle of the stem shows whichever echo came last.
    for (const auto& [style, last] : {std::pair{TCaptionStyle::csHeavyRaised, Highlight},
                                      std::pair{TCaptionStyle::csHeavyRecessed, Shadow}}) {
        Label3D reference(style);
        const QRect stem = Extent(reference.Picture(), Ink);
        Label3D l(style);
        l.label.SetFontColor(Qt::transparent);
        EXPECT_EQ(l.Picture().pixelColor(stem.center()), last);
    }
}

TEST(Label3D, DisabledTextIsGreyButTheEchoesKeepTheirColours) {
    Label3D l(TCaptionStyle::csHeavyRecessed);
    const QRect stem = Extent(l.Picture(), Ink);
    QPalette pal = l.label.palette();
    pal.setColor(QPalette::Disabled, QPalette::WindowText, QColor(200, 0, 200));
    pal.setColor(QPalette::Disabled, QPalette::Light, QColor(255, 255, 0));
    l.label.setPalette(pal);
    l.label.setEnabled(false);
    const QImage picture = l.Picture();
    EXPECT_EQ(picture.pixelColor(stem.center()), QColor(200, 0, 200));
    EXPECT_EQ(ColumnColour(picture, stem.right() + 1, stem.top() + 2, stem.bottom() - 2),
              Highlight);
}

TEST(Label3D, AlignmentWrapAndAccelerator) {
    Label3D l(TCaptionStyle::csNone);
    l.label.resize(200, 60);
    l.label.SetAlignment(Qt::AlignRight);
    EXPECT_GE(Extent(l.Picture(), Ink).right(), 190);
    l.label.SetAlignment(Qt::AlignHCenter);
    EXPECT_NEAR(Extent(l.Picture(), Ink).center().x(), 100, 3);

    l.label.SetAlignment(Qt::AlignLeft);
    l.label.SetCaption(QStringLiteral("I I I I I I I I"));
    const int oneLine = l.label.heightForWidth(400);
    // A new label wraps its caption.
    EXPECT_TRUE(TLabel3D().WordWrap());
    EXPECT_TRUE(TLabel3D().sizePolicy().hasHeightForWidth());
    EXPECT_TRUE(l.label.hasHeightForWidth());
    EXPECT_GE(l.label.heightForWidth(60), 3 * oneLine - 6);
    l.label.resize(60, 200);
    EXPECT_GT(Extent(l.Picture(), Ink).height(), 100); // the stems stack down the label

    l.label.SetWordWrap(false);
    EXPECT_FALSE(l.label.hasHeightForWidth());
    EXPECT_LT(Extent(l.Picture(), Ink).height(), 40); // one line, cut at the edge
    l.label.resize(300, 60);
    l.label.SetCaption(QStringLiteral("&I"));
    const int withAccel = Extent(l.Picture(), Ink).width();
    l.label.SetShowAccelChar(false);
    EXPECT_GT(Extent(l.Picture(), Ink).width(), withAccel + 10); // the "&" is drawn
}

class PaintCounter : public QObject {
public:
    int Paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++Paints;
        return false;
    }
};

TEST(Label3D, RepaintsOnlyWhenTheStyleChanges) {
    Label3D l(TCaptionStyle::csRaised);
    l.label.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&l.label));
    QApplication::processEvents();
    PaintCounter counter;
    l.label.installEventFilter(&counter);
    l.label.SetCaptionStyle(TCaptionStyle::csRaised);
    QApplication::processEvents();
    EXPECT_EQ(counter.Paints, 0);
    l.label.SetCaptionStyle(TCaptionStyle::csRecessed);
    QApplication::processEvents();
    EXPECT_GE(counter.Paints, 1);
}

// Records what a link asks the desktop to open, so no browser ever starts.
class UrlLabel : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = TUrlLabel::OpenLink;
        TUrlLabel::OpenLink = [this](const QUrl& url) { Opened.push_back(url); };
    }
    void TearDown() override { TUrlLabel::OpenLink = saved_; }

    std::vector<QUrl> Opened;

private:
    std::function<void(const QUrl&)> saved_;
};

TEST_F(UrlLabel, ClickOpensTheUrlOrElseTheCaption) {
    struct Case {
        const char* caption;
        const char* url;
        const char* opens; // nullptr: nothing
    };
    const Case cases[] = {
        {"Home", "https://www.example.org/mirelo/", "https://www.example.org/mirelo/"},
        {"www.example.org", "", "http://www.example.org"},
        {"www.example.org", "   ", "http://www.example.org"},
        {"mirelo@example.com", "", "mailto:mirelo@example.com"},
        {"Write", " someone@example.net ", "mailto:someone@example.net"},
        {"Profile", "https://example.com/@mirelo", "https://example.com/@mirelo"},
        {"", "", nullptr},
        {"  ", " ", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.caption);
        Opened.clear();
        TUrlLabel link(QString::fromLatin1(c.caption), QString::fromLatin1(c.url));
        link.resize(120, 20);
        link.show();
        QTest::mouseClick(&link, Qt::LeftButton, {}, QPoint(10, 10));
        if (c.opens) {
            ASSERT_EQ(Opened.size(), 1u);
            EXPECT_EQ(Opened[0], QUrl(QString::fromLatin1(c.opens)));
        } else {
            EXPECT_TRUE(Opened.empty());
        }
    }
}

TEST_F(UrlLabel, HeldButtonShowsTheActiveColourAndReleaseOutsideOpensNothing) {
    TUrlLabel link(QStringLiteral("www.example.org"), QString());
    link.SetFontColor(QColor(0, 0, 128));
    link.resize(120, 20);
    link.show();
    QTest::mousePress(&link, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(link.FontColor(), QColor(128, 0, 128));
    QTest::mouseRelease(&link, Qt::LeftButton, {}, QPoint(300, 10));
    EXPECT_EQ(link.FontColor(), QColor(0, 0, 128));
    EXPECT_TRUE(Opened.empty());
    // Another button neither colours nor opens.
    QTest::mouseClick(&link, Qt::RightButton, {}, QPoint(10, 10));
    EXPECT_EQ(link.FontColor(), QColor(0, 0, 128));
    EXPECT_TRUE(Opened.empty());
}

TEST_F(UrlLabel, CopyPutsTheCaptionNotTheTargetOnTheClipboard) {
    TUrlLabel link(QStringLiteral("Mirelo home page"), QStringLiteral("https://www.example.org/"));
    ASSERT_EQ(link.PopupMenu->actions().size(), 1);
    EXPECT_EQ(link.PopupMenu->actions().first()->text(), QStringLiteral("Copy"));
    QApplication::clipboard()->setText(QStringLiteral("before"));
    link.Copy1->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("Mirelo home page"));
    EXPECT_TRUE(Opened.empty());
}

TEST_F(UrlLabel, LooksLikeALinkWithTheHandPointer) {
    TUrlLabel link(QStringLiteral("www.example.org"), QString());
    EXPECT_EQ(link.FontColor(), QColor(0, 0, 255));
    EXPECT_EQ(link.ActiveColor, QColor(128, 0, 128));
    EXPECT_TRUE(link.font().underline());
    // The hand comes from the program's pictures, with the finger tip as hot spot.
    EXPECT_EQ(link.cursor().shape(), Qt::BitmapCursor);
    EXPECT_EQ(link.cursor().hotSpot(), QPoint(5, 0));
    EXPECT_EQ(link.cursor().pixmap().size(), QSize(32, 32));
}

} // namespace
} // namespace mirelo

#include "TAboutBox.h"
#include "TLabel3D.h"
#include "TUrlLabel.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>
#include <vector>

namespace mirelo {
namespace {

class AboutBox : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = TUrlLabel::OpenLink;
        TUrlLabel::OpenLink = [this](const QUrl& url) { Opened.push_back(url); };
    }
    void TearDown() override { TUrlLabel::OpenLink = saved_; }

    std::vector<QUrl> Opened;
    TAboutBox box;

private:
    std::function<void(const QUrl&)> saved_;
};

TEST_F(AboutBox, LinksOpenReservedExampleAddresses) {
    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    for (TUrlLabel* link : {box.HomePage, box.WebSite, box.EMail})
        QTest::mouseClick(link, Qt::LeftButton, {}, QPoint(3, link->height() / 2));
    ASSERT_EQ(Opened.size(), 3u);
    EXPECT_EQ(Opened[0].scheme(), QStringLiteral("https"));
    EXPECT_EQ(Opened[1].scheme(), QStringLiteral("https"));
    EXPECT_EQ(Opened[2].scheme(), QStringLiteral("mailto"));
    // Never a real person's or company's address.
    for (const QUrl& url : Opened) {
        const QString host = url.scheme() == QStringLiteral("mailto")
                                 ? url.path().section(QLatin1Char('@'), 1)
                                 : url.host();
        EXPECT_TRUE(host.endsWith(QStringLiteral("example.org")) ||
                    host.endsWith(QStringLiteral("example.com")))
            << qPrintable(url.toString());
    }
    EXPECT_EQ(box.HomePage->FontColor(), QColor(0, 0, 128));
    EXPECT_EQ(box.EMail->ActiveColor, QColor(128, 0, 128));
}

TEST_F(AboutBox, OkAndEnterCloseWithOk) {
    box.open();
    box.OKButton->click();
    EXPECT_FALSE(box.isVisible());
    EXPECT_EQ(box.result(), QDialog::Accepted);
    box.open();
    box.setResult(QDialog::Rejected);
    QTest::keyClick(&box, Qt::Key_Return);
    EXPECT_FALSE(box.isVisible());
    EXPECT_EQ(box.result(), QDialog::Accepted);
}

TEST_F(AboutBox, CentredOnTheScreen) {
    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    const QPoint offset = box.frameGeometry().center() - box.screen()->geometry().center();
    EXPECT_LE(offset.manhattanLength(), 2);
}

TEST_F(AboutBox, NoTextIsClipped) {
    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    const QRect inside = box.Panel1->contentsRect();
    for (const QLabel* label : box.Panel1->findChildren<QLabel*>()) {
        SCOPED_TRACE(qPrintable(label->text()));
        EXPECT_GE(label->width(), label->sizeHint().width());
        EXPECT_GE(label->height(), label->sizeHint().height());
        EXPECT_TRUE(inside.contains(label->geometry()));
    }
    EXPECT_GE(box.ProductName->width(), box.ProductName->sizeHint().width());
    EXPECT_GE(box.ProductName->height(), box.ProductName->sizeHint().height());
    EXPECT_TRUE(box.rect().contains(box.OKButton->geometry()));
    EXPECT_FALSE(box.OKButton->geometry().intersects(box.Panel1->geometry()));
}

} // namespace
} // namespace mirelo

#include "TAboutBox.h"

#include "DesignTable.h"
#include "Glyphs.h"
#include "TSpeedButton.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <algorithm>

TAboutBox::TAboutBox(QWidget* parent) : SettledHide(parent) {
    setUpFixedDialog(this, "AboutBox", tr("ﾊﾞｰｼﾞｮﾝ情報"), QSize(298, 223));

    PanelLook look;
    look.inner = bvRaised;
    look.outer = bvLowered;
    look.color = 0x80000000 + 15;
    Panel1 = makePanel(this, "Panel1", QRect(8, 8, 281, 181), QString(), look);

    SpeedButton1 = new TSpeedButton(Panel1);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setGeometry(12, 12, 49, 49);
    SpeedButton1->setGlyph(makeAboutPicture(devicePixelRatioF()));
    SpeedButton1->setAccessibleName(tr("ヴェロタッパーのアイコン"));

    const QFont big = designFont(kPGothic, 21, true);
    const QFont mid = designFont(kPGothic, 16);
    const QFont small = designFont(kPGothic, 13);
    makeLabel(Panel1, "ProductName", QRect(72, 16, 178, 21), tr("ヴェロタッパー"), clBlack, &big);
    makeLabel(Panel1, "Label5", QRect(116, 36, 71, 16), QStringLiteral("Velotapper"), clBlack,
              &mid);
    makeLabel(Panel1, "Version", QRect(112, 52, 80, 16), tr("Version　1.0"), clBlack, &mid);
    QLabel* comments = makeLabel(Panel1, "Comments", QRect(44, 76, 210, 24),
                                 tr("タイピングを早くする為のプログラムです。") +
                                     QString(14, QLatin1Char(' ')) + tr("お役に立てて下さい。"));
    comments->setWordWrap(true);
    // Wraps inside its design box, grown when two lines of the text need more.
    comments->setGeometry(44, 76, 210, std::max(24, comments->heightForWidth(210)));
    // The copyright line keeps below the text however many lines the font wraps it into.
    const int below = std::max(100, comments->geometry().bottom() + 3);
    makeLabel(Panel1, "Label1", QRect(12, below, 253, 13),
              QStringLiteral("© 2026 Velotapper developers"), clBlue, &small);

    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setGeometry(107, 196, 75, 25);
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
}

void TAboutBox::showEvent(QShowEvent* e) {
    centreOnScreen(this);
    QDialog::showEvent(e);
}

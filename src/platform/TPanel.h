#pragma once
#include "Colors.h"

#include <QFrame>
#include <QHash>
#include <optional>

enum TBevelCut { bvNone = 0, bvLowered = 1, bvRaised = 2 };
enum TBorderStyle { bsNone = 0, bsSingle = 1 };

// A panel as the form designs describe it: caption, colour, font and two bevels
// around a border, painted by the panel itself. Setters repaint only on change, so
// the on-screen keyboard can be driven key by key without redrawing idle keys.
class TPanel : public QFrame {
    Q_OBJECT
public:
    explicit TPanel(QWidget* parent = nullptr);

    QString caption() const { return caption_; }
    void setCaption(const QString& c);
    TColor color() const { return color_; }
    void setColor(TColor c);
    TBevelCut bevelInner() const { return inner_; }
    void setBevelInner(TBevelCut b);
    TBevelCut bevelOuter() const { return outer_; }
    void setBevelOuter(TBevelCut b);
    int bevelWidth() const { return bevelWidth_; }
    void setBevelWidth(int w);
    int borderWidth() const { return borderWidth_; }
    void setBorderWidth(int w);
    TBorderStyle borderStyle() const { return borderStyle_; }
    void setBorderStyle(TBorderStyle s);
    TColor fontColor() const { return fontColor_; }
    void setFontColor(TColor c);
    Qt::Alignment alignment() const { return alignment_; }
    void setAlignment(Qt::Alignment a);
    // A caption wider than the inside is drawn in the largest smaller size of the same
    // face that fits; one that fits keeps the panel's font. Off by default.
    bool shrinkToFit() const { return shrinkToFit_; }
    void setShrinkToFit(bool on);
    // A panel that acts on a click takes the focus too, shows it, and acts on Space
    // and Enter as on a click; a screen reader sees it as a button. Off by default.
    bool pressable() const { return pressable_; }
    void setPressable(bool on);
    // What a screen reader says the panel shows, before its caption ("案内：…"); for
    // panels whose caption is a value that a label beside them, or nothing, explains.
    QString label() const { return label_; }
    void setLabel(const QString& label) { label_ = label; }
    // The name a screen reader gives the panel: its accessible name when it has one,
    // else its label and caption, else its caption.
    QString readName() const;
    // A caption that would not stand out from the panel's colour (one the learner chose
    // for a key) is drawn in black or white, whichever does. Off by default.
    void setKeepLegible(bool on);
    // The colour the caption is drawn in.
    QColor textColor() const;
    // The font the caption is drawn in.
    QFont captionFont() const { return fitted_ ? *fitted_ : font(); }

signals:
    void clicked();
    void mouseMoved();

protected:
    void paintEvent(QPaintEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void changeEvent(QEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    // What lies inside the border and the bevels of a panel of the given size.
    QRect inside(QRect r) const;
    void fitCaption();
    // Measures again after a change of font, size or bevels.
    void refit();

    QString caption_;
    QString label_;
    TColor color_ = clBtnFace;
    TColor fontColor_ = clWindowText;
    TBevelCut inner_ = bvNone;
    TBevelCut outer_ = bvRaised;
    int bevelWidth_ = 1;
    int borderWidth_ = 0;
    TBorderStyle borderStyle_ = bsNone;
    Qt::Alignment alignment_ = Qt::AlignCenter;
    bool shrinkToFit_ = false;
    bool pressable_ = false;
    bool keepLegible_ = false;
    std::optional<QFont> fitted_;     // set only while the caption needs a smaller size
    QHash<QString, int> fittedSizes_; // caption to its smaller pixel size, 0 for none
};

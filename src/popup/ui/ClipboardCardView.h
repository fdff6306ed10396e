// One history item drawn as a card: coloured header, a body for its kind, footer, hover buttons.
// Cards are painted by the strip that shows them (only those in view exist), so a card is a
// painter with hit-testing rather than a widget.
#pragma once

#include "history/ClipboardItem.h"
#include "popup/CardAction.h"
#include "popup/CardContent.h"
#include "popup/PreviewImage.h"
#include "popup/RichTextPreview.h"

#include <QColor>
#include <QIcon>
#include <QList>
#include <QPainterPath>
#include <QRectF>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

struct CardPreview;
class QPainter;
class QTextDocument;
class QTextLayout;
class RelativeAge;

class ClipboardCardView
{
public:
    struct Callbacks
    {
        std::function<void()> onActivate;
        std::function<void()> onDelete;
        std::function<void()> onTogglePin;
    };

    // What is under a point of the card.
    enum class Part { none, card, pinButton, deleteButton, action, sourceIcon };
    struct Hit
    {
        Part part = Part::none;
        int action = -1; // index into smartActions() for Part::action

        bool operator==(const Hit&) const = default;
    };

    static constexpr double cornerRadius = 14;
    static constexpr double headerHeight = 50;

    ClipboardCardView(const ClipboardItem& item, int index, bool isSelected, Callbacks callbacks,
                      const CardActionHandlers& handlers, const RelativeAge& age, const QDateTime& now);
    ~ClipboardCardView();
    ClipboardCardView(const ClipboardCardView&) = delete;
    ClipboardCardView& operator=(const ClipboardCardView&) = delete;

    const ClipboardItem& item() const { return m_item; }
    int index() const { return m_index; }
    bool isSelected() const { return m_isSelected; }
    void setSelected(bool selected) { m_isSelected = selected; }
    const QList<CardAction>& smartActions() const { return m_actions; }
    // Whether the card has a footer (text, link and plain-file cards); the others show their
    // actions over the body while hovered.
    bool hasFooter() const;
    const QString& ageText() const { return m_ageText; }
    // Describes the item's age as of `now` (cards drawn together share one moment, so their ages
    // agree); within the second it was last described for, nothing changes.
    void refreshAge(const RelativeAge& age, const QDateTime& now);

    // Paints the card into `rect` (the card's frame; the shadow falls outside it). `hover` is the
    // hover buttons' opacity, from 0 (hidden) to 1.
    void paint(QPainter& painter, const QRectF& rect, double hover);
    static void paintShadow(QPainter& painter, const QRectF& rect);

    // `point` is relative to the card's frame of `size`; hover buttons count only while `hovering`.
    Hit hitTest(const QPointF& point, const QSizeF& size, bool hovering) const;
    // The tooltip of a part: the button's label, the source application's name, else the card's.
    QString toolTip(const Hit& hit) const;
    // A click on a part: a button runs its action, anywhere else activates the card.
    void click(const Hit& hit);

private:
    struct Layout;
    QRectF pinButtonRect(const QSizeF& size) const;
    QRectF deleteButtonRect(const QSizeF& size) const;
    QRectF sourceIconRect(const QSizeF& size) const;
    QList<QRectF> actionRects(const QSizeF& size) const;

    void paintHeader(QPainter& painter, const QRectF& rect);
    void paintBody(QPainter& painter, const QRectF& body);
    void paintTextPreview(QPainter& painter, const QRectF& area);
    void paintRichText(QPainter& painter, const QRectF& area);
    void paintImageBody(QPainter& painter, const QRectF& body, const QStringList& paths, bool isPdf);
    void paintColorBody(QPainter& painter, const QRectF& body);
    void paintImageFileBody(QPainter& painter, const QRectF& body, const QString& path);
    void paintGenericFileBody(QPainter& painter, const QRectF& body);
    void paintFooter(QPainter& painter, const QRectF& body, const QString& infoText, bool isCharCount);
    void paintOverlayActions(QPainter& painter, const QRectF& rect, double hover);
    void paintHoverButtons(QPainter& painter, const QRectF& rect, double hover);
    void paintMoreBadge(QPainter& painter, const QRectF& body, const QString& text);
    // The picture (or the file type) the workers read for this card at `size` device pixels, asked
    // for when the card is first drawn at that size; not ready until they are done.
    const CardPreview& workerPreview(const QSize& size, PreviewImage::Crop crop);
    // The icon of the file's type once the workers have read the type; null before.
    const QIcon* fileIcon(const CardPreview& preview);

    ClipboardItem m_item;
    int m_index;
    bool m_isSelected;
    Callbacks m_callbacks;
    QList<CardAction> m_actions;
    QColor m_headerColor;
    std::optional<QIcon> m_sourceIcon;
    QString m_ageText;
    qint64 m_ageSecond = 0; // the moment m_ageText describes the age at
    QString m_footerText;
    std::unique_ptr<QTextDocument> m_richText;
    bool m_richTextLoaded = false;
    bool m_richTextIsCut = false;
    QSizeF m_richTextSize; // the size in points it was laid out and cut for
    RichTextPreview::TailCut m_richCut;
    std::shared_ptr<const CardPreview> m_preview;
    QSize m_previewSize;
    std::optional<QIcon> m_fileIcon;
    // The laid-out preview text for the last area it was drawn in.
    std::unique_ptr<QTextLayout> m_textLayout;
    QSizeF m_textLayoutSize;
    int m_visibleLines = 0;
    QString m_elidedLastLine;
    QRectF m_elidedLastLineRect;
    double m_hover = 0; // the hover buttons' opacity as the card is painted
};

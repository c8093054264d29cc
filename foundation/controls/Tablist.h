#pragma once
// A list box whose rows are split at tab characters into columns: of the widths (and left margins) in
// Tabs, or of the sections of a header control, which then also give each column's alignment.
#include <QHeaderView>
#include <QListWidget>
#include <QPointer>
#include <QStringList>

class TTabListbox : public QListWidget {
    Q_OBJECT
public:
    explicit TTabListbox(QWidget* parent = nullptr);
    ~TTabListbox() override;

    // One entry per column: a width, or a width, a comma and a left margin, in pixels ("60,5", "140").
    const QStringList& Tabs() const { return tabs_; }
    void SetTabs(const QStringList& tabs);
    // Not owned; its sections give the columns while it is set.
    QHeaderView* HeaderControl() const { return header_; }
    void SetHeaderControl(QHeaderView* header);

    struct TTabColumn {
        int Left{0};
        int Width{0};
        int Margin{0}; // where a left-aligned text starts inside the column
        Qt::Alignment Alignment{Qt::AlignLeft};
        bool operator==(const TTabColumn&) const = default;
    };
    // The columns of a row within width pixels, from the left edge; a column never passes the edge.
    QList<TTabColumn> ColumnLayout(int width) const;
    // Column i of a row's text: the text between the i-th tab and the next; missing parts are empty.
    static QStringList ColumnTexts(const QString& text, int count);
    // A Tabs entry read as width and margin (2 when not given); a part that is no number counts 0.
    static TTabColumn ReadTab(const QString& entry);

    // With Tabs, never narrower than the rows' texts need, so that no text is cut at the list's edge.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

private:
    class TDelegate;
    // The width the rows' texts need in their columns, frame and scroll bar included; 0 with a header
    // control, whose sections decide.
    int TextsWidth() const;
    void TextsChanged();

    QStringList tabs_;
    QPointer<QHeaderView> header_;
    mutable int textsWidth_{-1}; // -1: to be measured
};

#pragma once

#include <QList>
#include <QWidget>

class QPushButton;

// The page buttons above the page area. The buttons share the width in
// equal columns; when the texts would not fit in one row the buttons wrap
// into more rows, so no text is cut and the bar never scrolls. Where each
// button sits depends only on the bar's width and the texts, never on the
// page shown.
class PageButtonBar final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY(PageButtonBar)

public:
    static constexpr int ButtonHeight = 28;
    static constexpr int Spacing = 1;
    static constexpr int MaxRows = 3;

    explicit PageButtonBar(QWidget *parent = nullptr);
    ~PageButtonBar() override;

    // The buttons in reading order; buttons left out are hidden.
    void setButtons(const QList<QPushButton *> &buttons);
    const QList<QPushButton *> &buttons() const { return m_buttons; }
    int rows() const { return m_rows; }
    // Lays the buttons out again, after their texts or fonts changed.
    void refit();

    // Fewest rows (1..maxRows) in which `count` buttons each `needed`
    // pixels wide fit into `width`; maxRows when none does.
    static int rowsFor(int width, int count, int needed, int spacing, int maxRows);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    int neededButtonWidth() const;
    void arrange(int rows);

    QList<QPushButton *> m_buttons;
    int m_rows = 0;
};

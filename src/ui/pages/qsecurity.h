#pragma once

#include <QByteArray>
#include <QVector>

#include "core/protocol/protocol.h"
#include "ui/common/modulepage.h"

class QFrame;
class QGridLayout;
class QLabel;
class QLineEdit;
class QLock;
class QPushButton;
class QScrollArea;

// The "Security" page: per-page, per-channel lock states, behind the lock
// password. Its traffic is class 2, module 5 (not class 3 like the module
// pages): it sends with link()->sendFrame() directly and gets the module-5
// reports through onMessage(). The unit decides everything: the page shows
// the password overlay while the unit reports the page locked, and a click
// on a cell only asks for the next state, which shows when the unit reports
// it.
class QSecurity : public ModulePage
{
    Q_OBJECT
    Q_DISABLE_COPY(QSecurity)

public:
    static constexpr quint8 PageLockParam = Protocol::Security::Page;
    static constexpr quint8 NewPasswordParam = Protocol::Security::NewPassword;
    static constexpr quint8 InFilterParam = Protocol::Security::InFilter;
    static constexpr quint8 OutFilterParam = Protocol::Security::OutFilter;
    // A filter page's lock record per channel: graph, high-pass, low-pass and
    // the sixteen bands.
    static constexpr int FilterEntries = Protocol::Security::FilterEntries;
    static constexpr int FilterBands = FilterEntries - Protocol::Security::FilterFirstBandEntry;
    static constexpr int MaxPasswordLength = Protocol::Login::MaxPasswordLength;

    explicit QSecurity(Link *link, QWidget *parent = nullptr);
    ~QSecurity() override;

    void onMessage(quint8 param, quint8 op, quint16 length, const uchar *payload) override;

    // The input-delay, dynamic-EQ and FIR rows exist only on family-1 units.
    void setFamilyRowsVisible(bool visible);

    bool isLocked() const { return m_locked; }
    // Changes the lock password: the current one opens the page (closed
    // first if it is open, so the unit's answer tells whether it took the
    // password), then the new one follows. lockPasswordChanged() says how
    // it went once the unit has answered.
    void changeLockPassword(const QByteArray &current, const QByteArray &next);
    QLabel *refusedLabel() const { return m_refused; }
    // Lock states as last reported (0 before any report).
    uchar lockState(quint8 param, int channel) const;
    uchar filterLockState(quint8 param, int channel, int entry) const;
    // The grid's cells, for tests and screenshots (null when out of range).
    QLock *cell(quint8 param, int channel) const;
    QLock *filterCell(quint8 param, int channel, int entry) const;
    bool isRowShown(quint8 param) const;
    QLineEdit *passwordEdit() const { return m_password; }
    QPushButton *quitButton() const { return m_quit; }
    QFrame *overlay() const { return m_overlay; }
    QWidget *grid() const { return m_grid; }

Q_SIGNALS:
    // The unit's answer to changeLockPassword(): false when it refused the
    // current lock password (and so kept the old one).
    void lockPasswordChanged(bool changed);
    void inlevelLockChanged(uchar channel, uchar state);
    void gateLockChanged(uchar channel, uchar state);
    void feedbackLockChanged(uchar channel, uchar state);
    void inDEQLockChanged(uchar channel, uchar state);
    void inlimiterLockChanged(uchar channel, uchar state);
    void indelayLockChanged(uchar channel, uchar state);
    void mtxmixLockChanged(uchar channel, uchar state);
    void signalLockChanged(uchar channel, uchar state);
    void outlevelLockChanged(uchar channel, uchar state);
    void outFIRLockChanged(uchar channel, uchar state);
    void outlimiterLockChanged(uchar channel, uchar state);
    void outdelayLockChanged(uchar channel, uchar state);

    // The filter pages keep their own copy of the lock record (they see the
    // same reports); these tell them which entry of which channel changed.
    void inFilterGraphLockChanged(uchar channel);
    void inHPFilterLockChanged(uchar channel);
    void inLPFilterLockChanged(uchar channel);
    void inFilterBandLockChanged(uchar channel, uchar band);
    void outFilterGraphLockChanged(uchar channel);
    void outHPFilterLockChanged(uchar channel);
    void outLPFilterLockChanged(uchar channel);
    void outFilterBandLockChanged(uchar channel, uchar band);

public Q_SLOTS:
    void passwordEditingFinished();
    void quitClicked();

protected:
    void poll(quint32 tick) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    struct Row
    {
        Row() = default;
        Row(quint8 p, const char *t, int c, bool i) : param(p), text(t), channels(c), inputs(i) {}

        quint8 param = 0;
        const char *text = nullptr;
        int channels = 0;
        bool inputs = true;
        QLabel *title = nullptr;
        QVector<QLock *> cells;
        QVector<uchar> states;
    };
    struct FilterTable
    {
        FilterTable() = default;
        FilterTable(quint8 p, const char *t, int c, bool i) : param(p), text(t), channels(c), inputs(i) {}

        quint8 param = 0;
        const char *text = nullptr;
        int channels = 0;
        bool inputs = true;
        QLabel *title = nullptr;
        QLabel *bandsTitle = nullptr;
        QVector<QLabel *> entryTitles;
        QVector<QVector<QLock *>> cells;
        QVector<QByteArray> states;
    };

    void buildPage();
    QWidget *buildRows(bool inputs);
    QWidget *buildFilterTable(FilterTable &table);
    void retranslate();
    void setLocked(bool locked);
    void placeOverlay();

    Row *findRow(quint8 param);
    const Row *findRow(quint8 param) const;
    FilterTable *findFilter(quint8 param);
    const FilterTable *findFilter(quint8 param) const;

    void rowCellClicked(quint8 param, int channel);
    void filterCellClicked(quint8 param, int channel, int entry);
    void applyRowReport(Row &row, const uchar *states);
    void applyFilterReport(FilterTable &table, const uchar *record);
    void emitRowLock(quint8 param, uchar channel, uchar state);
    void emitFilterLock(quint8 param, uchar channel, int entry);

    bool sendSystem(quint8 param, quint8 op, const void *payload, quint16 length);
    // Every query and set of the page param gets one report; counting them
    // finds the report that answers a password among earlier answers.
    bool sendPageParam(const void *payload, quint16 length, quint8 op = Frame::Set);
    void pageReport(bool locked);

    // Page-param frames sent and answered on this connection; a password's
    // answer is the report whose number is the password's frame number.
    quint32 m_pageSent = 0;
    quint32 m_pageAnswered = 0;
    quint32 m_unlockAnswer = 0; // 0: no password of the overlay awaits its answer
    quint32 m_changeAnswer = 0; // 0: no password change awaits its answer

    QVector<Row> m_rows;
    FilterTable m_filters[2];
    bool m_locked = true;

    QLabel *m_legendTitle = nullptr;
    QVector<QLabel *> m_legendNames;
    QPushButton *m_quit = nullptr;
    QScrollArea *m_scroll = nullptr;
    QWidget *m_grid = nullptr;
    QFrame *m_overlay = nullptr;
    QLabel *m_passwordLabel = nullptr;
    QLineEdit *m_password = nullptr;
    QLabel *m_refused = nullptr;
};

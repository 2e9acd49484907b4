#pragma once

#include <QWidget>

#include <array>
#include <functional>

#include "core/dsp/systemresponse.h"
#include "systemgraph.h"

class Prompt;
class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QTimer;

// The "System" page: what the whole chain does to each output, computed from
// the records the other pages hold (offline as well as online), drawn as
// magnitude, phase or group delay with a legend, a cursor readout and each
// output's latency. While shown it takes the pages' state on a short timer
// and recomputes only what changed; the curves can be saved as CSV and the
// picture as PNG.
class SystemPage : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY(SystemPage)

public:
    // How often the page looks at the other pages while shown, ms.
    static constexpr int RefreshMs = 50;

    using StateSource = std::function<PresetImage()>;

    SystemPage(StateSource source, Prompt *prompt, QWidget *parent = nullptr);
    ~SystemPage() override;

    void setFamily(bool family96k);
    const SystemResponse &response() const { return m_response; }
    SystemGraph *graph() const { return m_graph; }
    QComboBox *sourceBox() const { return m_source; }
    QComboBox *modeBox() const { return m_mode; }
    QCheckBox *curveBox(int index) const { return m_checks[size_t(index)]; }
    QLabel *latencyLabel(int index) const { return m_latency[size_t(index)]; }
    QLabel *cursorLabel() const { return m_cursorLabel; }
    QLabel *readoutLabel(int index) const { return m_readout[size_t(index)]; }
    QPushButton *csvButton() const { return m_csvButton; }
    QPushButton *pngButton() const { return m_pngButton; }
    bool isRefreshing() const;

    // The curves shown, as CSV text: frequency, then dB, degrees and ms of
    // every checked curve.
    QString csv() const;

public Q_SLOTS:
    // Takes the pages' state and redraws what changed: the timer's tick.
    void refresh();
    void exportCsv();
    void exportPng();

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void retranslate();
    void updateCurves();
    void updateReadout();
    unsigned checkedOutputs() const;
    bool save(const QString &caption, const QString &filter, const QString &suffix,
              const std::function<bool(QIODevice &)> &write);

    StateSource m_stateSource;
    Prompt *m_prompt;
    SystemResponse m_response;
    SystemGraph *m_graph = nullptr;
    QComboBox *m_source = nullptr;
    QComboBox *m_mode = nullptr;
    QLabel *m_sourceTitle = nullptr;
    QLabel *m_modeTitle = nullptr;
    QPushButton *m_csvButton = nullptr;
    QPushButton *m_pngButton = nullptr;
    QLabel *m_cursorLabel = nullptr;
    QLabel *m_header = nullptr;
    std::array<QCheckBox *, SystemGraph::Curves> m_checks{};
    std::array<QLabel *, SystemGraph::Curves> m_readout{};
    std::array<QLabel *, SystemGraph::Curves> m_latency{};
    QTimer *m_timer = nullptr;
    bool m_computed = false;
};

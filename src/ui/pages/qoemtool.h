#pragma once

#include <QDate>
#include <QDialog>

#include "core/records/factoryrecord.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The factory set-up dialog of the settings page (double-click on the
// model): model, serial number, channel configuration, DSP model and the
// unit display's two greeting lines.
class QOEMTool : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY(QOEMTool)

public:
    explicit QOEMTool(QWidget *parent = nullptr);
    ~QOEMTool() override;

    // "CN-0000-%X-%02dxx": (year % 100) * 100 + month in hex, then the day.
    static QString generateSerial(const QDate &date);

    // What "Setup" took from the fields (the LCD lines are read live).
    FactoryRecord record() const;
    // 0 "5310", 1 "2906".
    int dspModel() const { return m_dspModel; }

    // The LCD-line rows are offered only for units whose ARM major is not 1.
    void setLcdLinesVisible(bool visible);

    QLineEdit *inputsEdit() const { return m_inputs; }
    QLineEdit *outputsEdit() const { return m_outputs; }
    QLineEdit *lcdLine1Edit() const { return m_lcdLine1; }
    QLineEdit *lcdLine2Edit() const { return m_lcdLine2; }
    QLineEdit *modelEdit() const { return m_model; }
    QLineEdit *serialEdit() const { return m_serial; }
    QComboBox *dspModelCombo() const { return m_dspModelCombo; }
    QPushButton *setupButton() const { return m_setup; }

public Q_SLOTS:
    void setupClicked();
    void snChanged(QString str);

Q_SIGNALS:
    void msgChanged();

protected:
    void changeEvent(QEvent *event) override;

private:
    void retranslate();

    QLabel *m_channelLabel;
    QLabel *m_lcdLine1Label;
    QLabel *m_lcdLine2Label;
    QLabel *m_modelLabel;
    QLabel *m_serialLabel;
    QLabel *m_dspModelLabel;
    QLineEdit *m_inputs;
    QLineEdit *m_outputs;
    QLineEdit *m_lcdLine1;
    QLineEdit *m_lcdLine2;
    QLineEdit *m_model;
    QLineEdit *m_serial;
    QComboBox *m_dspModelCombo;
    QPushButton *m_setup;

    FactoryRecord m_record;
    int m_dspModel = 0;
};

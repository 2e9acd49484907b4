#pragma once

#include <QByteArray>
#include <QString>

#include <array>

#include "core/transfers/presettransfer.h"
#include "ui/common/modulepage.h"

class ProgressSteps;
class Prompt;
class QLineEdit;
class QPushButton;
class QTableWidget;

// The "Preset" page (module 32): the unit's 32 preset slots, copies of one
// slot or of all slots between unit and PC, and the offline save and import
// of the pages' own state (done by the function pages on sigSave/sigImport).
//
// The transfers themselves are a PresetTransfer's: the page picks the file,
// starts it, and tells the operator how it ended.
class QPreset : public ModulePage
{
    Q_OBJECT
    Q_DISABLE_COPY(QPreset)

public:
    static constexpr int Slots = 32;
    static constexpr int NameSize = 16;
    static constexpr int ChunkSize = PresetTransfer::ChunkSize;
    static constexpr int PollTicks = 10;

    enum SlotButton { SaveButton, RecallButton, ImportButton, ExportButton, DeleteButton, SlotButtonCount };
    using Transfer = PresetTransfer::Kind;

    // The two looks of a slot's "Recall" button.
    static const QString CurrentRecallStyle;
    static const QString NormalRecallStyle;

    explicit QPreset(Link *link, QWidget *parent = nullptr);
    ~QPreset() override;

    // Message boxes and file dialogs; the standard dialogs until set.
    void setPrompt(Prompt *prompt);
    // The window's shared progress dialog; without one transfers run unseen.
    void setProgress(ProgressSteps *progress);

    void onMessage(quint8 param, quint8 op, quint16 length, const uchar *payload) override;

    int currentSlot() const { return m_current; }
    bool isUsed(int slot) const { return m_slots.at(size_t(slot)).used; }
    // The 16 name bytes as the unit last reported them (NUL-padded).
    QByteArray storedName(int slot) const { return m_slots.at(size_t(slot)).name; }
    Transfer transfer() const { return m_transfer->kind(); }
    PresetTransfer *presetTransfer() const { return m_transfer; }

    QTableWidget *table() const { return m_table; }
    QLineEdit *nameEdit(int slot) const { return m_slots.at(size_t(slot)).edit; }
    QPushButton *slotButton(int slot, SlotButton which) const
    {
        return m_slots.at(size_t(slot)).buttons.at(size_t(which));
    }
    QPushButton *importAllButton() const { return m_importAll; }
    QPushButton *exportAllButton() const { return m_exportAll; }
    QPushButton *offlineSaveButton() const { return m_offlineSave; }
    QPushButton *offlineImportButton() const { return m_offlineImport; }

    // The name as the unit shows it: local 8-bit text up to the first NUL,
    // at most 16 bytes.
    static QString nameText(const QByteArray &bytes);
    // The message for an offline preset file of neither size.
    static QString offlineFormatError();

public Q_SLOTS:
    void nameEditingFinished();
    void saveClicked();
    void recallClicked();
    void eraseClicked();
    void importOneClicked();
    void importAllClicked();
    void exportOneClicked();
    void exportAllClicked();
    void savepcClicked();
    void offlineImportClicked();

Q_SIGNALS:
    // saveType 0: 48 kHz layout, 1: 96 kHz layout.
    void sigSave(uchar saveType, QString path);
    void sigImport(uchar saveType, QByteArray data);

protected:
    void poll(quint32 tick) override;
    void changeEvent(QEvent *event) override;

private:
    struct SlotRow
    {
        QLineEdit *edit = nullptr;
        std::array<QPushButton *, SlotButtonCount> buttons{};
        bool used = false;
        QByteArray name = QByteArray(NameSize, '\0');
    };

    void build();
    void retranslate();
    int slotOf(const QObject *sender, SlotButton which) const;
    bool confirm(int slot, const QString &question, bool destructive);
    void setCurrent(int slot);
    void setUsed(int slot, bool used);
    void showName(int slot);

    void onSlotList(const uchar *payload);
    void onRecallProgress(quint8 progress);
    void finishRecallProgress();

    // The operator hears how a transfer ended, unless it ended well or was
    // cancelled.
    void transferEnded(PresetTransfer::Outcome outcome);
    // Boxes raised while a frame is being handled wait until the handler
    // has returned: a modal loop must not run inside the link's dispatch.
    void tellLater(QWidget *parent, const QString &title, const QString &text);
    void linkLost();

    Prompt *m_prompt;
    ProgressSteps *m_progress = nullptr;
    QTableWidget *m_table = nullptr;
    std::array<SlotRow, Slots> m_slots;
    QPushButton *m_importAll = nullptr;
    QPushButton *m_exportAll = nullptr;
    QPushButton *m_offlineSave = nullptr;
    QPushButton *m_offlineImport = nullptr;
    int m_current = -1;

    PresetTransfer *m_transfer;
    // Whether the progress dialog is open for a recall.
    bool m_recallShowing = false;
};

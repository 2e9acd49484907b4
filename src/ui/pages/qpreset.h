#pragma once

#include <QByteArray>
#include <QString>

#include <array>

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
// The unit leads every transfer: the page asks for a size, then requests or
// sends one chunk of at most 1024 bytes per reply. The images are the unit's
// own and are kept byte for byte; the only check the page makes is that a
// file to import has the size the unit announces.
class QPreset : public ModulePage
{
    Q_OBJECT
    Q_DISABLE_COPY(QPreset)

public:
    static constexpr int Slots = 32;
    static constexpr int NameSize = 16;
    static constexpr int ChunkSize = 1024;
    static constexpr int PollTicks = 10;

    enum SlotButton { SaveButton, RecallButton, ImportButton, ExportButton, DeleteButton, SlotButtonCount };
    enum class Transfer { None, ExportOne, ExportAll, ImportOne, ImportAll };

    // The two looks of a slot's "Recall" button.
    static const QString CurrentRecallStyle;
    static const QString NormalRecallStyle;

    explicit QPreset(Link *link, QWidget *parent = nullptr);
    ~QPreset() override;

    // Message boxes and file dialogs; the standard dialogs until set.
    void setPrompt(Prompt *prompt);
    // The window's shared progress dialog; without one transfers run unseen.
    void setProgress(ProgressSteps *progress) { m_progress = progress; }

    void onMessage(quint8 param, quint8 op, quint16 length, const uchar *payload) override;

    int currentSlot() const { return m_current; }
    bool isUsed(int slot) const { return m_slots.at(size_t(slot)).used; }
    // The 16 name bytes as the unit last reported them (NUL-padded).
    QByteArray storedName(int slot) const { return m_slots.at(size_t(slot)).name; }
    Transfer transfer() const { return m_transfer; }

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
    bool confirm(const QString &text);
    void setCurrent(int slot);
    void setUsed(int slot, bool used);
    void showName(int slot);

    void onSlotList(const uchar *payload);
    void onRecallProgress(quint8 progress);
    void onExportSize(quint32 size);
    void onExportChunk(quint16 length, const uchar *payload);
    void onExportAllSize(quint32 size);
    void onExportAllBlock(quint16 length, const uchar *payload);
    void onImportSize(quint32 expected);
    void onImportAccepted(quint32 accepted);
    void onImportAllSize(quint32 expected);
    void onImportAllAck(quint16 block);

    // Frames without the slot byte first.
    void sendPlain(quint8 param, quint8 op, const QByteArray &payload);
    void requestExportChunk(quint32 count);
    void requestExportBlock(int block);
    void sendImportChunk();
    void sendImportBlock(int block);
    // Writes `bytes` at `offset` of the export file (offset 0 starts it
    // afresh); false when the file cannot be written.
    bool writeExport(qint64 offset, const char *bytes, int count);
    // The whole file chosen for an import; false (and a box) when unreadable.
    bool readImportFile();

    void startProgress(quint32 maximum, const QString &label);
    // -1 when the operator has cancelled.
    int stepProgress(quint32 value);
    void finishProgress();
    // Ends the running transfer; with a text, tells the operator why.
    void endTransfer(const QString &error = QString());
    // Boxes raised while a frame is being handled wait until the handler
    // has returned: a modal loop must not run inside the link's dispatch.
    void tellLater(QWidget *parent, const QString &title, const QString &text);
    void linkLost();
    void formatError();

    Prompt *m_prompt;
    ProgressSteps *m_progress = nullptr;
    QTableWidget *m_table = nullptr;
    std::array<SlotRow, Slots> m_slots;
    QPushButton *m_importAll = nullptr;
    QPushButton *m_exportAll = nullptr;
    QPushButton *m_offlineSave = nullptr;
    QPushButton *m_offlineImport = nullptr;
    int m_current = -1;

    Transfer m_transfer = Transfer::None;
    QString m_importPath;
    QString m_exportPath;
    int m_exportSlot = 0;
    QByteArray m_importData;
    // Offsets are 32 bits wide so a single-slot image above 64 KiB travels
    // whole instead of wrapping onto its own beginning.
    quint32 m_offset = 0;
    quint32 m_remaining = 0;
    int m_block = 0;
    // Whether the progress dialog is open (for a transfer or a recall).
    bool m_showing = false;
};

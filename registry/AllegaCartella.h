#pragma once

#include "shell/AppContext.h"

#include <QList>
#include <QString>
#include <QWidget>

#include <array>
#include <optional>

class QLineEdit;
class QPushButton;
class PictureButton;

// The attachments of a card: three slots, each naming one file kept in the folder
// "Documenti_Allegati" of the ProgramFolder, with a free description. Choosing a file copies it into
// the folder at once; the card itself stores only the bare names, and only when the card editor
// saves. "Applica e chiudi" hands the three slots back to the opener by attachmentsApplied.
class TfrmAllegaCartella : public QWidget
{
    Q_OBJECT
public:
    static constexpr int Slots = 3;

    explicit TfrmAllegaCartella(AppContext& ctx, QWidget* parent = nullptr);
    ~TfrmAllegaCartella() override;

    // The attachment folder, with a trailing separator.
    static QString folderOf(const AppContext& ctx);
    // The file that a name of a slot stands for in the attachment folder; nullopt when the name does
    // not stay inside it (a folder part with any system's separator, a drive letter, "." or "..",
    // or a link in the data folder on its way), so that it is never opened or written.
    static std::optional<QString> fileInFolder(const AppContext& ctx, const QString& name);

    // The caller tag: "Applica e chiudi" hands the slots back only when it is "schedario_chiavi",
    // the card editor's tag.
    void setCallerTag(const QString& tag) { m_callerTag = tag; }
    QString callerTag() const { return m_callerTag; }

    // One slot as "Applica e chiudi" hands it back: the file name and the description, trimmed.
    struct Attachment
    {
        QString fileName;
        QString description;
    };

    // Slot 1 to 3: the file name and the description as the window holds them.
    void setFileName(int slot, const QString& name);
    void setDescription(int slot, const QString& description);
    QString fileName(int slot) const;
    QString description(int slot) const;

    // The commands of slot 1 to 3 and of the window.
    void btnSfogliaClick(int slot);
    void btnApriClick(int slot);
    void imgCancellaClick(int slot);
    void btnApplicaClick();
    void btnAnnullaClick();

signals:
    // "Applica e chiudi": slots 1 to 3 in order; the window closes after it.
    void attachmentsApplied(const QList<TfrmAllegaCartella::Attachment>& attachments);

private:
    struct Slot
    {
        QLineEdit* txtFile = nullptr;
        QPushButton* btnSfoglia = nullptr;
        QPushButton* btnApri = nullptr;
        PictureButton* imgCancella = nullptr;
        QLineEdit* txtDesc = nullptr;
    };

    void buildWindow();
    void txtFileChange(int slot);
    enum class Copy
    {
        Copied,
        Declined, // the operator keeps the file already in the folder
        Failed,   // the folder is left as it was
    };
    // Copies the chosen file into the attachment folder under its bare name.
    Copy copyIntoFolder(const QString& source, const QString& name);
    Slot* slotAt(int slot);
    const Slot* slotAt(int slot) const;

    AppContext& m_ctx;
    std::array<Slot, Slots> m_slots;
    QString m_callerTag;
    QPushButton* btnApplica = nullptr;
    QPushButton* btnAnnulla = nullptr;
};

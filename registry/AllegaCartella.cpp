#include "registry/AllegaCartella.h"

#include "archives/PassRecord.h"
#include "archives/WholeFileWriter.h"
#include "archives/Win1252.h"
#include "shell/CommonParts.h"
#include "shell/Look.h"
#include "shell/PictureButton.h"
#include "shell/ScreenKit.h"
#include "shell/SvgPicture.h"
#include "shell/TMisc.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

const QString CallerTag = u"schedario_chiavi"_s;
const QString FolderName = u"Documenti_Allegati"_s;

const QString DialogTitle = u"Selezionare il file da allegare:"_s;
const QString DialogFilter = u"Tutti i file (*.*)"_s;

const QString Overwrite = u"Attenzione: nella cartella dei documenti allegati è presente un file con lo stesso nome."
                          u"\r\n\r\nSi vuole sovrascrivere il file esistente?"_s;

// The card keeps a file name in a field of 250 single-byte characters, trimmed. A name that would be
// cut, trimmed or changed on the way in would name a file that is never found again.
int nameCapacity()
{
    return PassRecord::place(&PassRecord::File01).capacity;
}
const QString NameTooLong = u"Attenzione: il nome del file scelto supera i 250 caratteri che la scheda può registrare."
                            u"\n\r\n\rRinominare il file con un nome più breve e allegarlo di nuovo."_s;
const QString NameNotStorable = u"Attenzione: il nome del file scelto contiene caratteri che la scheda non può "
                                u"registrare, oppure inizia o termina con uno spazio.\n\r\n\rRinominare il file "
                                u"usando lettere, cifre e segni comuni e allegarlo di nuovo."_s;
const QString MissingInFolder = u"Il file non è presente nella cartella dei documenti allegati."_s;
const QString CopyFailure = u"Attenzione: il sistema non permette di copiare il file nella cartella dei documenti "
                            u"allegati.\n\r\n\rAccertarsi che nel disco ci sia spazio sufficiente e di possedere i "
                            u"privilegi di scrittura nella cartella di installazione del programma."_s;

// A name the card can hold as the bare name of a file in the attachment folder: no folder part on any
// system that shares the card file (no "/" or "\"), no drive letter or stream (":"), not "." or "..".
bool isBareName(const QString& name)
{
    if (name.isEmpty() || name.contains(u'/') || name.contains(u'\\') || name.contains(u':'))
        return false;
    return name != u"."_s && name != u".."_s;
}

QString trimmed(const QString& text)
{
    return Win1252::trimmed(text).toString();
}

QString ordinal(int slot)
{
    return QString::number(slot) + u'°';
}

QString numbered(const QString& stem, int slot)
{
    return stem + u'0' + QString::number(slot);
}

} // namespace

TfrmAllegaCartella::TfrmAllegaCartella(AppContext& ctx, QWidget* parent) : QWidget(parent, Qt::Dialog), m_ctx(ctx)
{
    buildWindow();
}

TfrmAllegaCartella::~TfrmAllegaCartella() = default;

QString TfrmAllegaCartella::folderOf(const AppContext& ctx)
{
    return ctx.file(FolderName) + u'/';
}

std::optional<QString> TfrmAllegaCartella::fileInFolder(const AppContext& ctx, const QString& name)
{
    if (!isBareName(name))
        return std::nullopt;
    const QString path = folderOf(ctx) + name;
    // A link planted as the file, or as the folder itself, leads out of the folder as well.
    if (WholeFileWriter::passesThroughLink(ctx.programFolder, path))
        return std::nullopt;
    return path;
}

void TfrmAllegaCartella::buildWindow()
{
    ScreenKit::name(this, u"frmAllegaCartella"_s, u"Allega file"_s);
    Look::applyStyleSheet(this);
    setWindowTitle(u" Allega file"_s);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto* shpSfondo = ScreenKit::named(new QFrame(this), u"shpSfondo"_s, u"Allega file"_s);
    shpSfondo->setAutoFillBackground(true);
    QPalette white = shpSfondo->palette();
    white.setColor(QPalette::Window, Look::color(Look::Role::Sheet));
    shpSfondo->setPalette(white);
    outer->addWidget(shpSfondo);

    auto* column = new QVBoxLayout(shpSfondo);
    column->setContentsMargins(20, 16, 20, 14);
    column->setSpacing(12);

    auto* head = new QHBoxLayout;
    auto* imgAllega = ScreenKit::named(new SvgPicture(u"allegati"_s, shpSfondo), u"imgAllega"_s, u"Allega file"_s);
    head->addWidget(imgAllega);
    head->addSpacing(12);
    auto* lblIstruzioni = ScreenKit::named(
        new QLabel(u"Ogni file scelto viene copiato nella cartella Documenti_Allegati del programma; la scheda ne "
                   u"conserva il nome quando viene salvata."_s,
                   shpSfondo),
        u"lblIstruzioni"_s);
    lblIstruzioni->setWordWrap(true);
    Look::setKind(lblIstruzioni, Look::Kind::CardCaption);
    head->addWidget(lblIstruzioni, 1);
    column->addLayout(head);

    const QFont captionFont = Look::font(Look::FontRole::SlotCaption);
    const QFont nameFont = Look::font(Look::FontRole::AttachmentName);
    const QFont descFont = Look::font(Look::FontRole::Text);

    QWidget* previous = nullptr;
    auto chainTab = [&](QWidget* next) {
        if (previous)
            setTabOrder(previous, next);
        previous = next;
    };

    for (int slot = 1; slot <= Slots; ++slot) {
        Slot& s = m_slots[size_t(slot - 1)];
        auto* frame =
            ScreenKit::named(new QFrame(shpSfondo), numbered(u"shpFile"_s, slot), ordinal(slot) + u" file allegato"_s);
        Look::setKind(frame, Look::Kind::AttachmentSlot);
        auto* grid = new QGridLayout(frame);
        grid->setContentsMargins(12, 10, 12, 10);
        grid->setHorizontalSpacing(10);
        grid->setVerticalSpacing(8);
        grid->setColumnStretch(1, 1);

        const QString nameCaption = u"Nome "_s + ordinal(slot) + u" file allegato:"_s;
        const QString descCaption = u"Descrizione "_s + ordinal(slot) + u" file allegato:"_s;

        auto* lblFile = ScreenKit::named(new QLabel(nameCaption, frame), numbered(u"lblNomeFile"_s, slot), nameCaption);
        auto* lblDesc = ScreenKit::named(new QLabel(descCaption, frame), numbered(u"lblDescFile"_s, slot), descCaption);
        for (QLabel* label : {lblFile, lblDesc}) {
            label->setFont(captionFont);
            Look::setKind(label, Look::Kind::SlotCaption);
        }

        s.txtFile = ScreenKit::named(new QLineEdit(frame), numbered(u"txtFile"_s, slot), nameCaption.chopped(1));
        s.txtFile->setReadOnly(true);
        s.txtFile->setFont(nameFont);
        s.txtFile->setMinimumWidth(380);
        lblFile->setBuddy(s.txtFile);

        s.btnSfoglia = ScreenKit::newButton(u"Sfoglia..."_s, numbered(u"btnSfoglia"_s, slot), frame,
                                            u"Sfoglia "_s + ordinal(slot) + u" file allegato"_s);
        s.btnApri = ScreenKit::newButton(u"Apri"_s, numbered(u"btnApri"_s, slot), frame,
                                         u"Apri "_s + ordinal(slot) + u" file allegato"_s);
        s.btnApri->setEnabled(false);
        for (QPushButton* button : {s.btnSfoglia, s.btnApri}) {
            button->setCursor(Qt::PointingHandCursor);
            button->setMinimumWidth(90);
        }

        s.imgCancella = ScreenKit::named(new PictureButton(u"cancella"_s, frame), numbered(u"imgCancella"_s, slot),
                                         u"Cancella il nome del "_s + ordinal(slot) + u" file allegato"_s);
        s.imgCancella->setPictureSize(QSize(24, 24));
        s.imgCancella->setTakesFocus(false);
        // Ctrl+1 to Ctrl+3 empty the slot of that number; the tooltip says so.
        s.imgCancella->setCommandKey(QKeySequence(QKeyCombination(Qt::CTRL, Qt::Key(Qt::Key_0 + slot))));

        s.txtDesc = ScreenKit::named(new QLineEdit(frame), numbered(u"txtDesc"_s, slot), descCaption.chopped(1));
        s.txtDesc->setFont(descFont);
        s.txtDesc->setMaxLength(PassRecord::place(&PassRecord::Desc01).capacity);
        lblDesc->setBuddy(s.txtDesc);

        grid->addWidget(lblFile, 0, 0);
        grid->addWidget(s.txtFile, 0, 1);
        grid->addWidget(s.btnSfoglia, 0, 2);
        grid->addWidget(s.btnApri, 0, 3);
        grid->addWidget(s.imgCancella, 0, 4);
        grid->addWidget(lblDesc, 1, 0);
        grid->addWidget(s.txtDesc, 1, 1, 1, 4);
        column->addWidget(frame);

        for (QWidget* control : {static_cast<QWidget*>(s.txtFile), static_cast<QWidget*>(s.btnSfoglia),
                                 static_cast<QWidget*>(s.btnApri), static_cast<QWidget*>(s.txtDesc)})
            chainTab(control);

        txtFileChange(slot); // the look of an empty name
        connect(s.txtFile, &QLineEdit::textChanged, this, [this, slot] { txtFileChange(slot); });
        connect(s.btnSfoglia, &QPushButton::clicked, this, [this, slot] { btnSfogliaClick(slot); });
        connect(s.btnApri, &QPushButton::clicked, this, [this, slot] { btnApriClick(slot); });
        connect(s.imgCancella, &QAbstractButton::clicked, this, [this, slot] { imgCancellaClick(slot); });
    }

    btnApplica = ScreenKit::newButton(u"Applica e chiudi"_s, u"btnApplica"_s, shpSfondo);
    btnAnnulla = ScreenKit::newButton(u"Annulla"_s, u"btnAnnulla"_s, shpSfondo);
    CommonParts::addDialogFoot(column, shpSfondo, {btnApplica, btnAnnulla}, 120);
    chainTab(btnApplica);
    chainTab(btnAnnulla);

    connect(btnApplica, &QPushButton::clicked, this, &TfrmAllegaCartella::btnApplicaClick);
    connect(btnAnnulla, &QPushButton::clicked, this, &TfrmAllegaCartella::btnAnnullaClick);

    ScreenKit::makeFixedDialogFrame(this);
    ScreenKit::centreOnScreen(this);
}

// ---- Values ----------------------------------------------------------------------------------------

TfrmAllegaCartella::Slot* TfrmAllegaCartella::slotAt(int slot)
{
    return slot >= 1 && slot <= Slots ? &m_slots[size_t(slot - 1)] : nullptr;
}

const TfrmAllegaCartella::Slot* TfrmAllegaCartella::slotAt(int slot) const
{
    return slot >= 1 && slot <= Slots ? &m_slots[size_t(slot - 1)] : nullptr;
}

void TfrmAllegaCartella::setFileName(int slot, const QString& name)
{
    if (Slot* s = slotAt(slot))
        s->txtFile->setText(name);
}

void TfrmAllegaCartella::setDescription(int slot, const QString& description)
{
    if (Slot* s = slotAt(slot))
        s->txtDesc->setText(description);
}

QString TfrmAllegaCartella::fileName(int slot) const
{
    const Slot* s = slotAt(slot);
    return s ? s->txtFile->text() : QString();
}

QString TfrmAllegaCartella::description(int slot) const
{
    const Slot* s = slotAt(slot);
    return s ? s->txtDesc->text() : QString();
}

// A name change enables "Apri" exactly when there is a name that stays inside the attachment folder.
// A name whose file is not in the folder (never copied, or removed by hand) is drawn in red with a
// tooltip that says so; "Apri" stays enabled, as opening it simply does nothing. A name read from the
// card file that would lead out of the folder (a path, a drive letter, a link) is shown the same way,
// and "Apri" is disabled for it: it is never handed to the desktop.
void TfrmAllegaCartella::txtFileChange(int slot)
{
    Slot* s = slotAt(slot);
    const QString name = trimmed(s->txtFile->text());
    const std::optional<QString> path = name.isEmpty() ? std::nullopt : fileInFolder(m_ctx, name);
    s->btnApri->setEnabled(path.has_value());

    const bool missing = !name.isEmpty() && !(path && QFileInfo(*path).isFile());
    QPalette palette = s->txtFile->palette();
    palette.setColor(QPalette::Text, Look::color(missing ? Look::Role::FileMissing : Look::Role::FileFound));
    s->txtFile->setPalette(palette);
    s->txtFile->setToolTip(missing ? MissingInFolder : QString());
    s->txtFile->setAccessibleDescription(missing ? MissingInFolder : QString());
}

// ---- Commands --------------------------------------------------------------------------------------

void TfrmAllegaCartella::btnSfogliaClick(int slot)
{
    Slot* s = slotAt(slot);
    if (!s)
        return;
    const QString source = m_ctx.fileDialogs->openFile(this, DialogTitle, DialogFilter);
    if (source.isEmpty())
        return;

    const QString name = QFileInfo(source).fileName();
    if (!Win1252::representable(name) || trimmed(name) != name || !isBareName(name)) {
        m_ctx.messages->notice(this, NoticeKind::Warning, NameNotStorable);
        return;
    }
    if (Win1252::encode(name).size() > nameCapacity()) {
        m_ctx.messages->notice(this, NoticeKind::Warning, NameTooLong);
        return;
    }

    const QString previous = s->txtFile->text();
    s->txtFile->setText(name);
    if (copyIntoFolder(source, name) == Copy::Failed) {
        // The slot does not name a file that did not arrive: it keeps what it had.
        s->txtFile->setText(previous);
        m_ctx.messages->notice(this, NoticeKind::Warning, CopyFailure);
    }
    txtFileChange(slot); // the file may have arrived in the folder
}

TfrmAllegaCartella::Copy TfrmAllegaCartella::copyIntoFolder(const QString& source, const QString& name)
{
    // Only a plain file is copied: a folder, a device or a pipe chosen by name is not an attachment.
    const QFileInfo sourceInfo(source);
    if (!sourceInfo.isFile())
        return Copy::Failed;
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return Copy::Failed;

    const QString folder = folderOf(m_ctx);
    if (!QFileInfo(folder).isDir() && !QDir().mkpath(folder))
        return Copy::Failed;

    // Never through a link planted in the data folder: it would overwrite a file outside it.
    const std::optional<QString> target = fileInFolder(m_ctx, name);
    if (!target)
        return Copy::Failed;
    const QFileInfo targetInfo(*target);
    if (targetInfo.exists()) {
        // The file chosen from the folder itself is already in place.
        if (sourceInfo.canonicalFilePath() == targetInfo.canonicalFilePath())
            return Copy::Copied;
        if (!m_ctx.messages->question(this, Overwrite))
            return Copy::Declined;
    }

    // The copy replaces the target only once it is complete and on disk, so a failed copy (a full
    // disk included) leaves the previous attachment of that name as it was.
    WholeFileWriter out(*target, m_ctx.programFolder);
    if (!out.open())
        return Copy::Failed;
    QByteArray buffer(1 << 16, Qt::Uninitialized);
    for (;;) {
        const qint64 got = in.read(buffer.data(), buffer.size());
        if (got < 0)
            return Copy::Failed;
        if (got == 0)
            break;
        if (!out.write(QByteArrayView(buffer.constData(), got)))
            return Copy::Failed;
    }
    return out.commit() ? Copy::Copied : Copy::Failed;
}

void TfrmAllegaCartella::btnApriClick(int slot)
{
    const Slot* s = slotAt(slot);
    if (!s)
        return;
    const QString name = trimmed(s->txtFile->text());
    if (name.isEmpty())
        return;
    if (const std::optional<QString> path = fileInFolder(m_ctx, name))
        TMisc::Open(m_ctx, TMisc::quoted(QDir::toNativeSeparators(*path)));
}

void TfrmAllegaCartella::imgCancellaClick(int slot)
{
    if (Slot* s = slotAt(slot))
        s->txtFile->clear();
}

void TfrmAllegaCartella::btnApplicaClick()
{
    if (trimmed(m_callerTag) != CallerTag)
        return;
    QList<Attachment> attachments;
    for (int slot = 1; slot <= Slots; ++slot)
        attachments.append({trimmed(fileName(slot)), trimmed(description(slot))});
    emit attachmentsApplied(attachments);
    close();
}

void TfrmAllegaCartella::btnAnnullaClick()
{
    close();
}

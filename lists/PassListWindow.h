#pragma once

#include "archives/PassRecord.h"
#include "lists/PassLine.h"
#include "shell/AppContext.h"

#include <QWidget>

#include <memory>

class QLabel;
class QLineEdit;
class QPushButton;
class Document;
class PassLineModel;
class PassListBox;

// What one pass list is: which cards it shows and how, what it prints and what a double-click
// does. The four list windows are this one window with four of these.
struct PassListVariant
{
    enum class DoubleClick
    {
        HandOver, // hands the chosen card to the window's receiver, then closes
        Nothing,  // the list is for viewing and printing only
    };
    enum class WhenEmpty
    {
        Close,        // a double-click on an empty list just closes the window
        WarnAndClose, // shows "Operazione non applicabile: ..." first
    };

    QString windowName; // objectName of the window
    QString caption;
    QString printTitle;
    PassLine::Form form;
    bool (*listed)(const char* record); // of PassRecord::Size bytes
    DoubleClick doubleClick;
    WhenEmpty whenEmpty;
    bool showsInstruction; // the label "Fare doppio clic ..." under the list
    // A code typed (or scanned) into the find field and Enter hand over the one line with that
    // code at once; any other text goes on to "Trova".
    bool picksByCode = false;
    // The last text searched with "Trova" in a window of this variant, lower-cased; one per
    // variant, emptied every time a window of the variant is shown.
    QString* rememberedFind;
};

// The filters of the four variants, on a card's record bytes: the trimmed fields Smarrita and
// Stato compared exactly with the stored values.
namespace PassListFilters {
bool lost(const char* record);      // Smarrita is not "No" (an empty flag counts as lost)
bool available(const char* record); // not lost and "Disponibile"
bool out(const char* record);       // not lost and not "Disponibile"
} // namespace PassListFilters

namespace PassLists {
// Builds the list of a variant into `model`: one sequential read of the card file, the lines of the
// cards the variant lists, sorted, in one reset. A failure ends the building silently with the lines
// read so far.
void build(const QString& programFolder, const PassListVariant& variant, PassLineModel& model);
} // namespace PassLists

// A list of passes: built from the card file when shown, sorted, searchable with "Trova",
// printable as a list document; a double-click hands the chosen card over. Each line keeps the
// position of its card, and the card handed over is the one read again at that position, so two
// cards with equal lines are never mistaken for each other.
class PassListWindow : public QWidget
{
    Q_OBJECT
public:
    PassListWindow(AppContext& ctx, const PassListVariant& variant, QWidget* parent = nullptr);
    ~PassListWindow() override;

    const PassListVariant& variant() const { return m_variant; }

    PassLineModel* model() const { return m_model; }

    // The commands.
    void btnTrovaClick();
    void btnStampaClick();
    void btnChiudiClick();
    void lstRecordsDblClick();

signals:
    // A double-click chose this card, read from the card file at its 1-based position at that
    // moment.
    void cardChosen(qint64 position, const PassRecord& card);
    // After each double-click that went to the card file, whether or not a card was handed over,
    // before the window closes (the withdrawal and return screens fill in the current moment).
    void handOverDone();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void buildWindow();
    void buildList();
    // Enter in the find field: hands over the line whose code the field holds, if exactly one line
    // has it. False when there is no such line, and Enter goes on along its chain.
    bool pickByCode();

    AppContext& m_ctx;
    const PassListVariant& m_variant;
    PassLineModel* m_model = nullptr;
    std::unique_ptr<Document> frxReport; // the printed form of the list

    QLineEdit* txtTrova = nullptr;
    QPushButton* btnTrova = nullptr;
    PassListBox* lstRecords = nullptr;
    QLabel* lblRigo03 = nullptr;
    QPushButton* btnStampa = nullptr;
    QPushButton* btnChiudi = nullptr;
};

#pragma once

// What the tests of the spreadsheet document and of the export share: the document's frame and
// cells as the file must hold them, and small grids to write.

#include "archives/FieldCodec.h"
#include "archives/PackedFields.h"
#include "grids/StringGridModel.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QList>
#include <QStringList>

#include <memory>

namespace SpreadsheetFixture {

using namespace Qt::StringLiterals;

// The frame of the document, one fragment per entry, in order, as the file must hold it.
inline QByteArray frame(const QByteArray& sheetName, const QByteArray& tableRows)
{
    const QByteArrayList fragments = {
        "<html xmlns:o=\"urn:schemas-microsoft-com:office:office\" xmlns:x=\"urn:schemas-microsoft-com:office:excel\" "
        "xmlns=\"http://www.w3.org/TR/REC-html40\">",
        "<head>",
        "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1252\">",
        "<!--[if gte mso 9]><xml>",
        "<x:ExcelWorkbook>",
        "<x:ExcelWorksheets>",
        "<x:ExcelWorksheet>",
        "<x:Name>" + sheetName + "</x:Name>",
        "<x:WorksheetOptions>",
        "<x:Selected/>",
        "<x:Panes>",
        "<x:Pane>",
        "<x:Number>1</x:Number>",
        "<x:ActiveRow>3</x:ActiveRow>",
        "</x:Pane>",
        "</x:Panes>",
        "<x:ProtectContents>False</x:ProtectContents>",
        "<x:ProtectObjects>False</x:ProtectObjects>",
        "<x:ProtectScenarios>False</x:ProtectScenarios>",
        "</x:WorksheetOptions>",
        "</x:ExcelWorksheet>",
        "</x:ExcelWorksheets>",
        "</x:ExcelWorkbook>",
        "</xml><![endif]-->",
        "</head>",
        "<body>",
        "<table x:str>",
        tableRows,
        "</table>",
        "</body>",
        "</html>",
    };
    return fragments.join();
}

inline QByteArray headerCell(const QByteArray& label, int width)
{
    return "<td style=\"text-align: left; font-weight: bold;\" width=" + QByteArray::number(width) + ">" + label +
           "</td>";
}

// A data cell: text-formatted for the spreadsheet programs (Excel reads the number format of the
// style, LibreOffice the sdnum attribute), so that its text is shown as it is and never taken for a
// number, a date or a formula.
inline QByteArray dataCell(const QByteArray& text)
{
    return "<td style=\"text-align: left; mso-number-format:'\\@';\" sdnum=\"1040;0;@\">" + text + "</td>";
}

// A grid of two text columns after the number column, filled from the given rows.
inline std::unique_ptr<StringGridModel> gridOf(const QList<QStringList>& rows)
{
    auto grid = std::make_unique<StringGridModel>(
        QList<StringGridModel::Column>{{u"N."_s, 60}, {u"Codice"_s, 100}, {u"Note"_s, 100, true}});
    // Records of two fields of 50 characters, one after the other.
    const PackedFields fields({{0, 50}, {51, 50}});
    StringGridModel::Rows built(2);
    char record[102];
    for (int r = 0; r < rows.size(); ++r) {
        FieldCodec::write(record, 0, 50, rows[r][0]);
        FieldCodec::write(record, 51, 50, rows[r][1]);
        built.append(r + 1, record, fields);
    }
    grid->setRows(std::move(built));
    return grid;
}

} // namespace SpreadsheetFixture

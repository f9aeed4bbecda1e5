#pragma once
// Every text of the window in both languages: the texts of the controls (applied at start in
// the order of ControlTexts()) and the texts the operations write at run time.

#include "messages/Language.h"
#include "messages/Messages.h"

#include <QString>

#include <initializer_list>
#include <span>

namespace velkor {

// What a text of the control table is written to.
enum class TextTarget {
    Caption,
    Button1,
    Button3,
    Button4,
    Button5,
    Button6,
    Button7,
    Button8,
    CheckBox1,
    CheckBox2,
    Label1,
    Label2,
    Label4,
    Label5,
    Label6,
    Label7,
    Label3,
    OdczytUstawien,
    ZapisUstawien,
    ChartTitle,
    Series1Title,
    Series2Title,
    Label9,
    Label8,
};

struct ControlText {
    TextTarget target;
    const char* polish;  // UTF-8; the text of the layout
    const char* english; // UTF-8
};

// In the order in which the English texts replace the Polish ones at start.
std::span<const ControlText> ControlTexts();
QString TextOf(TextTarget target, Language language);

// Texts written by the operations while the program runs.
enum class RunText {
    BatteryPrefix,      // Label1, followed by the millivolts and "mV"
    FoundCaption,       // message box when the logger answered
    FoundStatus,        // Label9
    IdentifierPrefix,   // Label7, followed by the identification reply
    NotFoundCaption,    // message box when no port answered
    NotFoundText,       //
    NotFoundStatus,     // Label9
    EraseAskCaption,    // Yes/No box before the erase (Polish in both languages)
    EraseAskText,       //
    EraseResultCaption, // message box after the erase
    Erased,             //
    NotErased,          //
    ReplaceAsk,         // Yes/No box before a copy replaces an existing file (%1 file name)
    // The chart's menu (right click), its dialogs and the statistics box.
    ChartCopy,         // menu entries, in their order
    ChartSaveImage,    //
    ChartExportCsv,    //
    ChartStatistics,   //
    ChartAnalysis,     //
    ChartShowAll,      //
    ChartImageFilter,  // save dialog filter: PNG, SVG, PDF in this order
    ChartImageName,    // file name the save dialog proposes; the chosen filter adds the suffix
    ChartCsvFilter,    //
    ChartCsvName,      //
    StatisticsCaption, // the box's caption
    StatisticsRange,   // followed by the visible time range
    StatisticsCount,   // followed by ": " and the number
    StatisticsMinimum, //
    StatisticsMaximum, //
    StatisticsMean,    //
    ChartSaveFailed,   // error text, followed by the file name
    // The archive: the line added to a download's end message, the reason it failed, the
    // erase question's extra line (Polish in both languages, as the question).
    ArchiveOutsideLine, // %1 samples the logger holds that the archive lacks
    ArchiveEraseFailed, // %1 the archive, %2 the reason: the erase event was not recorded
    ChartArchive,       // the chart menu's entry
    ArchiveEmpty,       // %1 the archive
    ArchiveTemperature, // legend: %1 the logger's label or identifier
    ArchiveHumidity,    //
};

QString TextOf(RunText text, Language language);

// A message of the catalogue both front ends share, with its arguments.
QString TextOf(Message message, Language language, std::initializer_list<QString> args = {});

} // namespace velkor

#pragma once
// Loads a data file into the chart's two series, through the data-file reader.

#include "log/DataFileReader.h"
#include "log/DataFileState.h"
#include "log/Sinks.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace velkor {

// What one line's text gives.
struct DataLineValues {
    bool validDateTime = false; // false: the line is skipped
    double dateTime = 0.0;
    bool hasTemperature = false; // false: the field is not a complete number
    bool hasHumidity = false;
    float temperature = 0.0f;
    float humidity = 0.0f;
};

// What the chart takes of the text of one line (without its line end, at most 43 characters),
// its fields found as the data-file reader finds them. Raises ConvertError when a date or time
// field is not an integer.
DataLineValues ParseDataLine(std::string_view text);

// Loads the file:
//  1. sets the process-wide date and time formats, dataFile.DataFileName := fileName, and
//     empties both series;
//  2. opens the file and consumes its first two lines. Only a regular file is opened, and
//     opening never blocks: anything else raises NotRegularFileError. A file whose start is
//     UTF-16, UTF-32 or binary raises NoLoggerDataError. A file that cannot be opened or read
//     raises LocatedInOutError (line 0 when it could not be opened). In all these cases the
//     series stay empty and onLoaded is not called;
//  3. takes every further line (a line ends at CR LF, LF or CR): the bottom axis is set
//     automatic once per line, then each line with a valid date and time adds a temperature
//     and a humidity point in the default colour, the values rounded to single precision (a
//     decimal comma is taken for the point); a field that is not a complete number, or whose
//     value leaves the single-precision range, adds no point to its series;
//  4. calls onLoaded (the window enables its buttons there) and closes the file, also when
//     step 3 stopped with an error, which then propagates with the file name and the 1-based
//     line number (LocatedConvertError for a date or time field that is not an integer;
//     LocatedInOutError for a failing read, DataFileShrankError for a file that got shorter
//     while it was read);
//  5. raises NoLoggerDataError when lines other than blank ones were read in step 3 but none
//     gave a point.
// Returns the number of lines read in step 3.
std::size_t LoadDataFile(DataFileState& dataFile, const std::string& fileName, PlotSink& plot,
                         const std::function<void()>& onLoaded);

} // namespace velkor

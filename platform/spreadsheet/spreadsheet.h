#pragma once
// The spreadsheet program as the report export drives it: eight operations, in the order the
// export uses them. Create the application, ask for its workbooks and add one, give the window its
// caption, make it visible, write cells one at a time (row and column from 1, the value as a
// person would type it), then fit every column to its content. Cells may be written in any order.
#include <QString>
#include <functional>
#include <memory>

namespace spreadsheet {

class Workbooks {
public:
    virtual ~Workbooks() = default;
    virtual void add(int count) = 0; // a new workbook, which becomes the active one
};

class Columns {
public:
    virtual ~Columns() = default;
    virtual void autoFit() = 0; // widens every column of the active sheet to its content
};

// Thrown by the last step when its progress was told to stop: nothing was written.
struct Cancelled {};

class Application {
public:
    virtual ~Application() = default;
    virtual Workbooks& workBooks() = 0;
    virtual void setCaption(const QString& caption) = 0;
    virtual void setVisible(bool visible) = 0;
    // Throws std::runtime_error (Portuguese text) when the cell lies outside a sheet.
    virtual void setCell(int row, int column, const QString& value) = 0;
    virtual Columns& columns() = 0;

    // Told, while the last step writes the workbook, how many of its rows are written so far
    // (for a progress window); returning false stops the writing: nothing is kept, and the step
    // throws Cancelled. An application that writes nothing of its own ignores it.
    using WriteProgress = std::function<bool(int rowsWritten, int rows)>;
    virtual void setWriteProgress(WriteProgress progress) { (void)progress; }
};

// Makes the application the program uses: the .xlsx one unless another factory was installed.
std::unique_ptr<Application> createApplication();

using Factory = std::function<std::unique_ptr<Application>()>;
// Installs a factory (tests install a recording one); an empty one puts the real one back.
void setFactory(Factory factory);

} // namespace spreadsheet

#pragma once
// The spreadsheet the program really uses: the workbook's cells are gathered (on disk, so a large
// export holds little memory) and, when the columns are fitted (the export's last step), written
// as an .xlsx file to the temporary folder under the caption and the time, then handed to the
// desktop's spreadsheet program. The workbook's title is the caption. A failure while writing
// leaves no file; when no program can open the finished file the user is told where it is.
#include "platform/spreadsheet/spreadsheet.h"
#include <QDateTime>
#include <QStringList>
#include <memory>
#include <vector>

namespace spreadsheet {

class CellSpool;

// Opens a finished file in a spreadsheet program; false when none could be started.
using Opener = std::function<bool(const QString& path)>;
// The desktop's own choice for .xlsx files, else LibreOffice Calc when installed.
bool openWithDesktop(const QString& path);

class XlsxApplication : public Application, private Workbooks, private Columns {
public:
    struct Options {
        QString folder;                 // where the file goes; the temporary folder when empty
        Opener opener;                  // openWithDesktop when empty
        std::function<QDateTime()> now; // the time in the file's name; the clock when empty
    };
    XlsxApplication();
    explicit XlsxApplication(Options options);
    ~XlsxApplication() override;

    Workbooks& workBooks() override { return *this; }
    void setCaption(const QString& caption) override { caption_ = caption; }
    void setVisible(bool visible) override { visible_ = visible; }
    void setCell(int row, int column, const QString& value) override;
    Columns& columns() override { return *this; }
    void setWriteProgress(WriteProgress progress) override { writeProgress_ = std::move(progress); }

    // The files this application wrote, in order.
    const QStringList& files() const { return files_; }

    static constexpr int kMaxRows = 1048576;
    static constexpr int kMaxColumns = 16384;

private:
    void add(int count) override;
    void autoFit() override;

    void write(const QString& path);
    QString finalName() const;

    Options options_;
    QString caption_;
    bool visible_ = false;
    std::unique_ptr<CellSpool> spool_;
    std::vector<int> widths_; // characters, per column
    int rows_ = 0;            // the last row written to
    WriteProgress writeProgress_;
    QStringList files_;
};

} // namespace spreadsheet

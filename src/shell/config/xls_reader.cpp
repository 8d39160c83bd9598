#include "shell/config/xls_reader.h"

#include "shell/config/logging.h"

#include <freexl.h>
#include <QFile>

#include <cmath>

namespace qv::config {

namespace {

// Closes the workbook on every path out.
class Workbook {
public:
    Workbook() = default;
    ~Workbook() {
        if (m_handle) freexl_close(m_handle);
    }
    Workbook(const Workbook&) = delete;
    Workbook& operator=(const Workbook&) = delete;

    const void** out() { return &m_handle; }
    const void* get() const { return m_handle; }

private:
    const void* m_handle = nullptr;
};

QString freexlError(int code) {
    switch (code) {
        case FREEXL_FILE_NOT_FOUND:
            return QStringLiteral("the file can not be opened");
        case FREEXL_INSUFFICIENT_MEMORY:
            return QStringLiteral("not enough memory");
        case FREEXL_INVALID_CFBF_HEADER:
        case FREEXL_CFBF_INVALID_SIGNATURE:
        case FREEXL_CFBF_INVALID_SECTOR_SIZE:
        case FREEXL_CFBF_EMPTY_FAT_CHAIN:
        case FREEXL_CFBF_ILLEGAL_FAT_ENTRY:
        case FREEXL_CFBF_READ_ERROR:
        case FREEXL_CFBF_SEEK_ERROR:
        case FREEXL_INVALID_MINI_STREAM:
        case FREEXL_CFBF_ILLEGAL_MINI_FAT_ENTRY:
            return QStringLiteral("it is not an Excel 97-2003 workbook, or it is damaged");
        case FREEXL_BIFF_INVALID_BOF:
        case FREEXL_BIFF_INVALID_SST:
        case FREEXL_BIFF_ILLEGAL_SST_INDEX:
        case FREEXL_BIFF_WORKBOOK_NOT_FOUND:
        case FREEXL_ILLEGAL_RK_VALUE:
        case FREEXL_CRAFTED_FILE:
            return QStringLiteral("its workbook is damaged");
        case FREEXL_INVALID_CHARACTER:
        case FREEXL_UNSUPPORTED_CHARSET:
            return QStringLiteral("it holds text in a character set that can not be read");
        default:
            return QStringLiteral("FreeXL error %1").arg(code);
    }
}

QString cellText(const void* handle, unsigned int row, unsigned short column, unsigned short columns) {
    if (column >= columns) return {};
    FreeXL_CellValue cell;
    if (freexl_get_cell_value(handle, row, column, &cell) != FREEXL_OK) return {};
    switch (cell.type) {
        case FREEXL_CELL_INT:
            return QString::number(cell.value.int_value);
        case FREEXL_CELL_DOUBLE: {
            const double value = cell.value.double_value;
            // Whole numbers as integers, so 12.0 reads "12".
            if (std::isfinite(value) && value == std::trunc(value) && std::fabs(value) < 1e15)
                return QString::number(static_cast<qint64>(value));
            return QString::number(value, 'g', 15);
        }
        case FREEXL_CELL_TEXT:
        case FREEXL_CELL_SST_TEXT:
        case FREEXL_CELL_DATE:
        case FREEXL_CELL_DATETIME:
        case FREEXL_CELL_TIME:
            return cell.value.text_value ? QString::fromUtf8(cell.value.text_value) : QString();
        default:
            return {};
    }
}

SheetRead failed(const QString& path, const QString& why) {
    qCWarning(lcConfig) << path << "could not be read:" << why;
    return {false, QStringLiteral("%1 could not be read: %2").arg(path, why), {}};
}

}  // namespace

SheetRead readXlsSheet(const QString& path) {
    if (!QFile::exists(path)) return failed(path, QStringLiteral("the file can not be found"));
    Workbook book;
    const QByteArray nativePath = QFile::encodeName(path);
    if (const int code = freexl_open(nativePath.constData(), book.out()); code != FREEXL_OK)
        return failed(path, freexlError(code));
    // FreeXL can give up on a damaged record yet report success without a workbook.
    if (!book.get()) return failed(path, QStringLiteral("its workbook is damaged"));

    unsigned int info = 0;
    if (freexl_get_info(book.get(), FREEXL_BIFF_PASSWORD, &info) == FREEXL_OK && info != FREEXL_BIFF_PLAIN)
        return failed(path, QStringLiteral("it is protected by a password"));

    unsigned int sheets = 0;
    if (freexl_get_info(book.get(), FREEXL_BIFF_SHEET_COUNT, &sheets) != FREEXL_OK || sheets == 0)
        return failed(path, QStringLiteral("it holds no worksheet"));
    int found = -1;
    for (unsigned int i = 0; i < sheets && i <= 0xFFFF && found < 0; ++i) {
        const char* name = nullptr;
        if (freexl_get_worksheet_name(book.get(), static_cast<unsigned short>(i), &name) == FREEXL_OK &&
            name && QString::fromUtf8(name).compare(QLatin1String("sheet1"), Qt::CaseInsensitive) == 0)
            found = static_cast<int>(i);
    }
    if (found < 0) return failed(path, QStringLiteral("it has no worksheet named sheet1"));
    if (freexl_select_active_worksheet(book.get(), static_cast<unsigned short>(found)) != FREEXL_OK)
        return failed(path, QStringLiteral("its worksheet sheet1 can not be selected"));

    unsigned int rows = 0;
    unsigned short columns = 0;
    if (freexl_worksheet_dimensions(book.get(), &rows, &columns) != FREEXL_OK)
        return failed(path, QStringLiteral("the size of its worksheet sheet1 can not be read"));

    SheetRead read;
    read.ok = true;
    for (unsigned int row = 1; row < rows; ++row) {
        const QString area = cellText(book.get(), row, 0, columns).trimmed();
        if (area.isEmpty()) break;
        read.rows.push_back({static_cast<int>(row + 1), area, cellText(book.get(), row, 1, columns),
                             cellText(book.get(), row, 2, columns).trimmed(),
                             cellText(book.get(), row, 3, columns)});
    }
    return read;
}

}  // namespace qv::config

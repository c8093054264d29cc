#include "model/D_BuiltinData.h"

QString BuiltinDataError(const QString& fileName, int line, const QString& text) {
    return QStringLiteral("%1:%2: %3").arg(fileName).arg(line).arg(text);
}

std::vector<TBuiltinRow> ReadBuiltinData(const QString& fileName, const char* text, const QStringList& header,
                                         const std::function<bool(qsizetype)>& fieldCountOk,
                                         QStringList& errors) {
    if (!text) {
        errors << fileName + QStringLiteral(": not embedded");
        return {};
    }
    const auto error = [&](qsizetype lineNo, const QString& line) {
        errors << BuiltinDataError(fileName, static_cast<int>(lineNo), line);
    };
    std::vector<TBuiltinRow> rows;
    bool headerSeen = false;
    const QStringList lines = QString::fromUtf8(text).split(u'\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString line = lines[i].trimmed();
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        const QStringList fields = line.split(u';');
        if (!headerSeen) {
            headerSeen = true;
            if (fields != header) {
                error(i + 1, line);
                return {};
            }
        } else if (!fieldCountOk(fields.size())) {
            error(i + 1, line);
        } else {
            rows.push_back({static_cast<int>(i + 1), fields});
        }
    }
    return rows;
}

#pragma once
// XML documents as the tests read them: saved and checked by xmllint, and their elements with their
// attributes as a parser reads them back.
#include "foundation/Windows1252.h"
#include "model/D_XmlData2.h"

#include <QMap>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QXmlStreamReader>

#include <vector>

// What xmllint says of the file: empty when it is well-formed.
inline QString XmlLint(const QString& path) {
    QProcess lint;
    lint.start(QStringLiteral("xmllint"), {QStringLiteral("--noout"), path});
    if (!lint.waitForFinished())
        return QStringLiteral("xmllint did not run: ") + lint.errorString();
    const QString said = QString::fromLocal8Bit(lint.readAllStandardError());
    return lint.exitCode() == 0 && said.isEmpty() ? QString()
                                                  : said + QStringLiteral(" (exit %1)").arg(lint.exitCode());
}

// Saves the document as the file and returns what xmllint says of it.
inline QString SavedXmlLint(const QStringList& lines, const QString& path) {
    SaveXmlFile(lines, path);
    return XmlLint(path);
}

// The open meet's whole document.
inline QStringList XmlMeetDocument() {
    QStringList lines;
    TXmlData2().MakeXmlStaevne(lines);
    return lines;
}

struct TXmlElement {
    QString Name;
    QMap<QString, QString> Attributes;
    // The names of the enclosing elements, the root first.
    QStringList Path;
};

// Every element of the document in document order, as its bytes on file read back.
inline std::vector<TXmlElement> XmlElements(const QStringList& lines) {
    std::vector<TXmlElement> elements;
    QXmlStreamReader reader(Windows1252::Encode(lines.join(QStringLiteral("\r\n"))));
    QStringList path;
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement()) {
            TXmlElement element{reader.name().toString(), {}, path};
            for (const QXmlStreamAttribute& attribute : reader.attributes())
                element.Attributes.insert(attribute.qualifiedName().toString(), attribute.value().toString());
            elements.push_back(element);
            path.append(element.Name);
        } else if (reader.isEndElement()) {
            path.removeLast();
        }
    }
    if (reader.hasError())
        elements.push_back({QStringLiteral("<error>"), {{QStringLiteral("text"), reader.errorString()}}, {}});
    return elements;
}

// The elements of one name.
inline std::vector<TXmlElement> XmlElements(const QStringList& lines, const QString& name) {
    std::vector<TXmlElement> named;
    for (const TXmlElement& element : XmlElements(lines)) {
        if (element.Name == name || element.Name == u"<error>")
            named.push_back(element);
    }
    return named;
}

// One attribute of each element of the name, in document order ("-" where it is left out).
inline QStringList XmlValues(const QStringList& lines, const QString& name, const QString& attribute) {
    QStringList values;
    for (const TXmlElement& element : XmlElements(lines, name))
        values.append(element.Attributes.value(attribute, QStringLiteral("-")));
    return values;
}

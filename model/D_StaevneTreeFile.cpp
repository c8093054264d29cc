// The meet manager's tree file "ZUNO2.SLF": reading, filing the unfiled meets, writing.
#include "model/D_Staevne.h"
#include "model/D_StaevneTree.h"

#include "foundation/DanishOrder.h"
#include "foundation/Exception.h"
#include "foundation/LxClass.h"
#include "foundation/LxString.h"
#include "foundation/Messages.h"
#include "foundation/PathResolver.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>

namespace {

const QString DefaultFolder = QStringLiteral("ZUNO stævner");
constexpr quint8 PropertyCount = 3;
// The least a node or a name takes in the file: a node its property count and list byte, a name its
// length.
constexpr qint64 MinNodeSize = 2;
constexpr qint64 MinNameSize = 2;

void CheckCount(qint32 count, const QIODevice& file, qint64 minSize, const QString& what) {
    const qint64 room = file.bytesAvailable() / minSize;
    if (count < 0 || count > room)
        throw EStreamError(QStringLiteral("Filen angiver %1 %2, men der er kun plads til %3")
                               .arg(count)
                               .arg(what)
                               .arg(room));
}

TStaevneTree ReadTreeFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Exception(file.errorString());
    TStreamReader reader(&file);
    const qint32 count = reader.ReadInteger();
    CheckCount(count, file, MinNodeSize, QStringLiteral("mapper"));
    TStaevneTree tree;
    tree.reserve(static_cast<std::size_t>(count));
    for (qint32 i = 0; i < count; ++i) {
        const quint8 properties = reader.ReadByte();
        if (properties > PropertyCount)
            throw EStreamError(QStringLiteral("Mappe nr. %1 har %2 egenskaber; der kendes kun %3")
                                   .arg(i + 1)
                                   .arg(properties)
                                   .arg(PropertyCount));
        TStaevneTreeNode node;
        const qint32 level = properties >= 1 ? reader.ReadInteger() : 0;
        if (properties >= 2)
            node.Caption = reader.ReadString();
        if (properties >= 3)
            node.Expanded = reader.ReadBoolean();
        // The parent is the last node's nearest ancestor one level up; a node without one is a top node.
        node.Level = level >= 1 && !tree.empty() && level <= tree.back().Level + 1 ? level : 0;
        if (reader.ReadByte() == 1) {
            const qint32 names = reader.ReadInteger();
            CheckCount(names, file, MinNameSize, QStringLiteral("stævnenavne"));
            QStringList navne;
            navne.reserve(names);
            for (qint32 n = 0; n < names; ++n)
                navne.append(reader.ReadString());
            node.Navne = std::move(navne);
        }
        tree.push_back(std::move(node));
    }
    return tree;
}

} // namespace

TStaevneTree TStaevneManager::LoadStaevneTree() const {
    TStaevneTree tree;
    if (const QString path = ResolvePath(GetSlfFileName()); QFileInfo::exists(path)) {
        try {
            tree = ReadTreeFile(path);
        } catch (const Exception& error) {
            tree.clear();
            ShowError(nullptr, QStringLiteral("Stævnemapperne i ") + GetSlfFileName() +
                                   QStringLiteral(" kan ikke læses:") + CrLf + error.Message() + CrLf + CrLf +
                                   QStringLiteral("Alle stævner vises i mappen \"") + DefaultFolder +
                                   QStringLiteral("\"."));
        }
    }

    // Names a folder holds stay there even when the meet is gone.
    QStringList unfiled;
    for (const TListedMeet& meet : meets_)
        unfiled.append(meet.Navn);
    for (const TStaevneTreeNode& node : tree) {
        if (node.Navne)
            for (const QString& navn : *node.Navne)
                unfiled.removeAll(navn);
    }
    if (unfiled.isEmpty())
        return tree;
    // In Danish order; names alike there by their characters.
    const QCollator order = DanishNameOrder();
    std::sort(unfiled.begin(), unfiled.end(), [&order](const QString& a, const QString& b) {
        const int c = order.compare(a, b);
        return c != 0 ? c < 0 : a < b;
    });
    if (tree.empty()) {
        tree.push_back({0, DefaultFolder, false, unfiled});
    } else {
        TStaevneTreeNode& first = tree.front();
        if (!first.Navne)
            first.Navne = QStringList();
        first.Navne->append(unfiled);
    }
    return tree;
}

void TStaevneManager::SaveStaevneTree(const TStaevneTree& tree) const {
    const QString fileName = GetSlfFileName();
    QSaveFile file(ResolvePath(fileName));
    const auto failed = [&] {
        return Exception(QStringLiteral("Stævnemapperne kunne ikke gemmes i ") + fileName + CrLf +
                         file.errorString());
    };
    if (!file.open(QIODevice::WriteOnly))
        throw failed();
    TStreamWriter writer(&file);
    writer.WriteInteger(static_cast<qint32>(tree.size()));
    for (const TStaevneTreeNode& node : tree) {
        writer.WriteByte(PropertyCount);
        writer.WriteInteger(node.Level);
        writer.WriteString(node.Caption);
        writer.WriteBoolean(node.Expanded);
        if (!node.Navne) {
            writer.WriteByte(0);
            continue;
        }
        writer.WriteByte(1);
        writer.WriteInteger(static_cast<qint32>(node.Navne->size()));
        for (const QString& navn : *node.Navne)
            writer.WriteString(navn);
    }
    if (!file.commit())
        throw failed();
}

#pragma once
// The folders in which the choose-meet window files the meets, kept in "ZUNO2.SLF" in the data folder.
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// One folder: its depth (0 for a top folder), caption, whether it shows expanded, and the names of the
// meets filed in it; a folder may have no name list at all.
struct TStaevneTreeNode {
    qint32 Level = 0;
    QString Caption;
    bool Expanded = false;
    std::optional<QStringList> Navne;

    bool operator==(const TStaevneTreeNode&) const = default;
};

// The folders in tree order: each node before its children, children in order. A node's parent is the
// nearest node before it whose level is one less.
using TStaevneTree = std::vector<TStaevneTreeNode>;

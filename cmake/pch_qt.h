// Precompiled for every Qt-using library: the headers nearly every unit includes.
#pragma once
#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <memory>
#include <string>
#include <vector>

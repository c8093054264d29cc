#pragma once
// What most test files use: GoogleTest, readable Qt values, error texts, whole files and temporary folders.
#include "support/ErrorText.h"
#include "support/Files.h"
#include "support/QtPrinters.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

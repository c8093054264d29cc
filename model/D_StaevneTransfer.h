#pragma once
// What the import of a meet transfer file asks the user.
#include "model/D_StaevneSystemData.h"

#include <QString>

// Asks for the name of the meet being imported, showing the imported meet's headings, organiser and
// date. The window program answers with the import dialog; tests answer by script.
class TImportStaevneQuestion {
public:
    virtual ~TImportStaevneQuestion() = default;
    // navn comes in as the name to offer (the imported meet's, or the one refused last time) and goes
    // out as the name typed. False when the user cancels.
    virtual bool AskStaevneNavn(const TSystemData& imported, QString& navn) = 0;
};

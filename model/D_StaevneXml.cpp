// The meet manager's XML document of the whole meet.
#include "model/D_Staevne.h"

#include "foundation/BusyCursor.h"
#include "foundation/Exception.h"
#include "model/D_Context.h"
#include "model/D_XmlData2.h"

void TStaevneManager::SaveStaevneXml() {
    // The document is that of the meet the tables read: the global manager's.
    if (ModelContext().StaevneManager.get() != this)
        throw Exception(QStringLiteral("Stævnets XML-fil kan kun skrives gennem programmets stævnestyring"));
    const TBusyCursor busy;
    QStringList lines;
    TXmlData2().MakeXmlStaevne(lines);
    SaveXmlFile(lines, DataDirFile(QStringLiteral("zuno-staevne.xml")));
}

#pragma once
// A meet whose 100 m round I has heat 1 (start numbers 101..108 in lanes 1..8, and 109 without a lane)
// and heat 2 (201 and 202), loaded into a manager, and a timing system's folder beside the record files
// to copy the sample result files of tests/data/eltid into.
#include "ResultFixture.h"
#include "model/D_Ovelser.h"
#include "model/D_Result.h"
#include "support/Test.h"
#include "ui/eltid/Eltid.h"

#include <QFile>

#include <memory>

class TEltidTest : public TResultTest {
protected:
    TEltidTest() {
        AddKlub(1, QStringLiteral("Aarhus AM"));
        for (int n = 1; n <= 9; ++n)
            AddRunner(100 + n, 1, n <= 8 ? n : 0);
        AddRunner(201, 2, 1);
        AddRunner(202, 2, 2);
    }

    void AddRunner(qint32 startnummer, qint32 heat, qint32 bane,
                   std::initializer_list<std::pair<int, qint32>> more = {}) {
        AddDeltager(startnummer, QStringLiteral("Løber %1").arg(startnummer));
        AddResultat(Round("M", "100", "I"), startnummer, [heat, bane, more](TResultatTable& t) {
            t.GetField(ResultatField::Heat)->SetAsInteger(heat);
            t.GetField(ResultatField::Banenummer)->SetAsInteger(bane);
            for (const auto& [fieldNo, value] : more)
                t.GetField(fieldNo)->SetAsInteger(value);
        });
    }

    // Loads the round and makes an Omega, ALGE or Lynx reader of heat 1 over it, its ".path" naming
    // the folder "timing".
    TEltid& Reader(TEltidSystem system, qint32 heat = 1) {
        manager_.LoadOvelse(&Round("M", "100", "I"));
        heat_ = std::make_unique<TEltidHeat>(manager_, heat);
        reader_ = MakeEltid(int(system), *heat_, 0);
        QDir().mkpath(Folder());
        WriteFile(Path(reader_->SystemName() + ".path"), (Folder() + "\r\n").toUtf8());
        reader_->ReadResultFolder();
        return *reader_;
    }

    QString Folder() const { return Path("timing"); }
    static QString Sample(const QString& name) {
        return QStringLiteral(ZUNO_SOURCE_DIR "/tests/data/eltid/") + name;
    }
    // A sample file copied into the folder, under its own name or another.
    void Copy(const QString& sample, const QString& as = {}) {
        const QString target = Folder() + u'/' + (as.isEmpty() ? sample : as);
        QFile::remove(target);
        ASSERT_TRUE(QFile::copy(Sample(sample), target)) << sample.toStdString();
    }
    void Write(const QString& name, const QByteArray& bytes) { WriteFile(Folder() + u'/' + name, bytes); }

    TResultat& Runner(qint32 startnummer) { return Row(manager_, startnummer); }
    // The lines as "place/lane/start number/time/thousandths/status".
    QStringList Lines() const {
        QStringList lines;
        for (const TEltidData& line : reader_->Lines())
            lines << QStringLiteral("%1/%2/%3/%4/%5/%6")
                         .arg(line.Plac, line.Bane, line.Startnr, line.Tid)
                         .arg(line.Tusindedele)
                         .arg(line.StatusText());
        return lines;
    }

    TResultatManager manager_;
    std::unique_ptr<TEltidHeat> heat_;
    std::unique_ptr<TEltid> reader_;
};

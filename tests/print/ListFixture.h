#pragma once
// A meet in a program folder (ResultFixture.h) whose lists are printed, previewed into A4 PDF pages
// read back with pdftotext, checked against the right margin from the engine's model, and written as
// HTML pages checked with xmllint. With ZUNO_LIST_DIR set, every PDF and page is kept there to be looked at.
#include "support/ResultFixture.h"

#include "model/D_StaevneSystemData.h"
#include "print/D_UdskriftResultatliste.h"
#include "print/PrUtil.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

class TUdskrift;

class TListTest : public TResultTest {
protected:
    TListTest();
    ~TListTest() override;
    // No printed model of the test had a text past the right margin.
    void TearDown() override;

    TSystemData& Settings();
    // The clubs 1 "AGF" and 2 "Sparta & <Co>" and the participants 1 to 8, born in various years or
    // not known, of one or the other club.
    void AddAthletes();
    // A result manager made now over the stored records, with the round loaded: the event editor's.
    TResultatManager& Load(TOvelseInfo& round);
    TResultatManager& Data() { return *data_; }

    // Runs the job for the round Data holds, previewed: the text of each A4 page, one simplified line
    // per line of text. The model of every preview is checked against the right margin (TooWide).
    QStringList Printed(TUdskrift& job, const QString& name);
    // Runs the job over the rounds (loaded into Data in turn), previewed, as Printed.
    QStringList PrintedList(TUdskrift& job, const std::vector<TOvelseInfo*>& rounds, const QString& name);
    // Runs the job for the round Data holds, writing HTML only; the path of its page of the fixed name
    // (with the name as suffix). The page is checked with libxml2's HTML parser.
    QString Written(TUdskrift& job, const QString& name, const QString& fixedName = "resultatliste");
    // For the jobs with a run of their own: run() with the job previewed, as Printed; and run() with the
    // job writing HTML only, the page (a name in the meet's folder) checked and kept as Written.
    QStringList PrintedBy(TUdskrift& job, const QString& name, const std::function<void()>& run);
    QString WrittenBy(TUdskrift& job, const QString& name, const QString& page,
                      const std::function<void()>& run);

    // What libxml2's HTML parser complains of in a page; empty for a well-formed page.
    static QString HtmlErrors(const QString& fileName);
    // The same for an XML document.
    static QString XmlErrors(const QString& fileName);

    // The texts of every printed model that reach past the right margin.
    QStringList TooWide;
    // The body of the last printed model (SectionLines).
    QStringList Model;
    // Each previewed page's lines.
    QStringList Pages;

private:
    void Capture(TPrint& print);
    // Keeps the page to be looked at and checks it.
    void Keep(const QString& page, const QString& name);

    std::unique_ptr<TResultatManager> data_;
    TPrintPreviewWindow previous_;
    QString name_;
};

// The same for the result list: each run with a new job on Data, set up by the test.
class TResultatlisteListTest : public TListTest {
protected:
    using TSetup = std::function<void(TResultatlisteUdskrift&)>;
    QStringList Print(const QString& name, const TSetup& setup = {}) {
        TResultatlisteUdskrift job;
        if (setup)
            setup(job);
        return Printed(job, name);
    }
    QString Html(const QString& name, const TSetup& setup = {}) {
        TResultatlisteUdskrift job;
        if (setup)
            setup(job);
        return Written(job, name);
    }
};

// The lines of pages that match a regular expression.
QStringList Matching(const QStringList& lines, const QString& pattern);
// The first such line; -1 when none.
qsizetype IndexOf(const QStringList& lines, const QString& pattern);

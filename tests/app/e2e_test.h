#pragma once

#include <memory>
#include <string>
#include <vector>

#include <QObject>
#include <QString>
#include <QTimer>

#include "core/text.h"
#include "tools/demo_site/demo_site.h"
#include "window_fixture.h"

namespace quill::testing {

// Every message box the application shows, as it comes up: a box that closes itself after a
// second is seen however briefly it stays.
class ShownMessages final : public QObject {
    Q_OBJECT
  public:
    int count(const QString& caption, const QString& text) const;
    int total() const { return static_cast<int>(m_shown.size()); }
    void clear() { m_shown.clear(); }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    std::vector<std::pair<QString, QString>> m_shown; // caption, text
};

// What the progress timer showed while a batch ran, sampled on each of its ticks.
struct BatchSamples {
    int ticks = 0;
    int mostWorkers = 0;
    // A tick that found workers running while "目录解析", "倒序" or "下载" could be pressed.
    bool commandsOpenWhileBusy = false;
};

// The whole program as a user drives it: the real window, offscreen, against the demo novel
// site (or a small fixture site) on 127.0.0.1. Slots are grouped by command, one file each.
class EndToEndTest final : public QObject {
    Q_OBJECT

  private:
    WindowFixture& f() const { return *m_fixture; }
    demo::DemoSite& site() const { return *m_site; }
    bool startSite(const demo::SiteOptions& options);

    // The user's actions.
    void pasteAddress(const std::string& address);
    void parse(const std::string& address);
    bool clickCheckBox(int row);
    void openRow(int row);
    void watchBatch();

    // What the window shows.
    QString caption(const char* name) const;
    QTimer* timer() const;
    int rowCount() const;
    Text cell(int row, int column) const;
    bool ticked(int row) const;
    Text shownChapter() const;
    bool batchCommandsEnabled() const;

    // What the demo site's book should give.
    void expectBookListed(const demo::DemoBook& book);
    Text expectedViewerText(int row) const;
    Text expectedBookFile(const std::vector<int>& tickedRows) const;
    Text bookFile() const;
    QString closingMessage() const;

    std::unique_ptr<WindowFixture> m_fixture;
    std::unique_ptr<demo::DemoSite> m_site;
    ShownMessages m_messages;
    BatchSamples m_samples;

  private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    // Table of contents.
    void parseListsEveryChapterOfTheSite_data();
    void parseListsEveryChapterOfTheSite();
    void nextPageCycleEndsWithEachChapterOnce();
    void unreachableAddressEmptiesTheListWithoutMessage();

    // Viewer.
    void doubleClickShowsTheChapterWithItsTitle_data();
    void doubleClickShowsTheChapterWithItsTitle();
    void nextBeforeAnyChapterOpensTheSecondRow();
    void previousOnFirstAndNextOnLastChangeNothing();
    void unreachableChapterShowsItsTitleLine();

    // Download.
    void downloadMergesTheTickedChaptersInRowOrder();
    void batchLocksOutParseReverseAndDownload();
    void secondDownloadOfTheListIsMergedAgain();
};

// Helpers shared by the slot files.
demo::SiteOptions BookSite(demo::Encoding encoding, int delayMs = 0);
// A port on 127.0.0.1 on which nobody listens.
int UnusedPort();
// A table-of-contents page in code page 936: one link per (address, title), then "下一页" to
// `next` unless it is empty.
std::string FixtureTocPage(const char* bookTitle,
                           const std::vector<std::pair<std::string, Text>>& links,
                           const std::string& next);
// "" when equal, else where and how the two byte strings first part.
QString FirstDifference(const Text& actual, const Text& expected);

} // namespace quill::testing

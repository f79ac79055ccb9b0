#include "document/model.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "document/data_pool.h"
#include "document/view_list.h"
#include "support/recording_message_boxes.h"

namespace varnex {
namespace {

// Fills slot i with a set of the given points (x values 1..n unless given).
void loadSet(DataPool& pool, DataSet& set, std::vector<double> ys, std::vector<double> xs = {}) {
    set.storage = pool.allocateSet(static_cast<std::int64_t>(ys.size()));
    set.count = static_cast<std::int32_t>(ys.size());
    for (std::size_t j = 0; j < ys.size(); ++j) {
        set.storage->x[j + 1] = xs.empty() ? static_cast<double>(j + 1) : xs[j];
        set.storage->y[j + 1] = ys[j];
    }
}

Document validDocument() {
    Document doc;
    doc.printw = 15;
    doc.framewidth = doc.graphwidth = 0.3;
    doc.markersize = 1.3;
    return doc;
}

TEST(DocumentTest, FreshDocumentHasTheDefaults) {
    const Document doc;
    EXPECT_EQ(doc.data, 0);
    EXPECT_TRUE(doc.files.empty());
    EXPECT_EQ(doc.files.appendedCount(), -1);
    EXPECT_EQ(doc.xtitle, "X");
    EXPECT_EQ(doc.ytitle, "Y");
    EXPECT_EQ(doc.xfont, "Times New Roman");
    EXPECT_EQ(doc.xsize, 100);
    EXPECT_EQ(doc.xmax, 1);
    EXPECT_EQ(doc.area, (std::array<double, 4>{25, 95, 25, 95}));
    for (const DataSet& set : doc.sets) {
        EXPECT_EQ(set.count, 0);
        EXPECT_EQ(set.params.interp, 1);
    }
}

TEST(DocumentTest, TextFieldsAreCutToTheirSize) {
    Document doc;
    doc.xfont = std::string(80, 'f');
    doc.vtitle = std::string(300, 't');
    EXPECT_EQ(doc.xfont.size(), 49u);
    EXPECT_EQ(doc.vtitle.size(), 255u);
    // A multibyte character that would cross the limit is dropped whole.
    doc.xfont = std::string(48, 'a') + "温";
    EXPECT_EQ(doc.xfont.str(), std::string(48, 'a'));
}

TEST(FileListTest, AppendStopsAtThirtyOneNames) {
    FileList files;
    ASSERT_TRUE(files.setMain("/d/main.dat"));
    for (int i = 1; i < kMaxFiles; ++i) ASSERT_TRUE(files.append("/d/f" + std::to_string(i)));
    const FileList before = files;
    EXPECT_FALSE(files.append("/d/one-too-many"));
    EXPECT_EQ(files, before);
    EXPECT_EQ(files.appendedCount(), 30);
}

TEST(FileListTest, TheBufferLimitIsNeverPassed) {
    FileList files;
    ASSERT_TRUE(files.setMain(std::string(1000, 'm')));
    ASSERT_TRUE(files.append(std::string(1000, 'a')));  // 1001 + 1001 + 1 = 2003 bytes
    EXPECT_FALSE(files.append(std::string(45, 'b')));   // would need 2049
    EXPECT_TRUE(files.append(std::string(44, 'b')));    // exactly 2048
    EXPECT_EQ(files.usedBytes(), kFileListBytes);
    EXPECT_FALSE(files.replace(2, std::string(45, 'c')));
    EXPECT_FALSE(files.setMain(std::string(2047, 'x')));
}

TEST(FileListTest, RemoveReplaceAndSetMain) {
    FileList files;
    files.setMain("/m");
    files.append("/a");
    files.append("/b");
    EXPECT_TRUE(files.remove(1));
    EXPECT_EQ(files.name(1), "/b");
    EXPECT_FALSE(files.remove(5));
    EXPECT_TRUE(files.replace(0, "/n"));
    EXPECT_EQ(files.name(0), "/n");
    EXPECT_EQ(files.name(7), "");
    files.keepMainOnly();
    EXPECT_EQ(files.count(), 1);
    EXPECT_EQ(files.usedBytes(), 4u);  // "/n", its NUL, the final NUL
}

TEST(DocumentTest, NormaliseRepairsLimitsTypesAndChoices) {
    testing::RecordingMessageBoxes messages;
    DataPool pool(messages);
    Document doc;
    doc.data = 2;
    loadSet(pool, doc.sets[1], {5});
    loadSet(pool, doc.sets[2], {1, 2, 3});
    doc.dataxmin = -5;
    doc.dataxmax = 3;
    doc.dataymin = 1;
    doc.dataymax = 9;
    doc.xmin = doc.xmax = 2;  // not increasing: takes the extents without margin
    doc.xtype = -1;           // and -5..3 spans zero: linear
    doc.ytype = 1;
    doc.ymin = 1;
    doc.ymax = 10;
    doc.sets[1].params = {2, 0, 3, 0};  // single point spline, markers with error bars but no error data
    doc.sets[2].params = {2, 0, 2, 0};
    doc.normalise();
    EXPECT_EQ(doc.xmin, -5);
    EXPECT_EQ(doc.xmax, 3);
    EXPECT_EQ(doc.xtype, 0);
    EXPECT_EQ(doc.ytype, 1);
    EXPECT_EQ(doc.sets[1].params, (GraphParams{1, 0, 1, 0}));
    EXPECT_EQ(doc.sets[2].params, (GraphParams{2, 0, 0, 0}));

    doc.ymin = -100;
    doc.ymax = -1;
    doc.normalise();
    EXPECT_EQ(doc.ytype, -1);
}

TEST(DocumentTest, IsValidChecksEveryCondition) {
    testing::RecordingMessageBoxes messages;
    DataPool pool(messages);
    Document base = validDocument();
    base.data = 1;
    loadSet(pool, base.sets[1], {1});
    ASSERT_TRUE(base.isValid());

    struct Case {
        const char* what;
        void (*breakIt)(Document&);
    };
    const Case cases[] = {
        {"xmax not above xmin", [](Document& d) { d.xmax = d.xmin; }},
        {"ymax below ymin", [](Document& d) { d.ymax = -1; }},
        {"log x with zero", [](Document& d) { d.xtype = 1; }},
        {"log y with zero", [](Document& d) { d.ytype = 1; }},
        {"printw zero", [](Document& d) { d.printw = 0; }},
        {"printw above 20", [](Document& d) { d.printw = 20.5; }},
        {"framewidth", [](Document& d) { d.framewidth = 0; }},
        {"graphwidth", [](Document& d) { d.graphwidth = -1; }},
        {"markersize", [](Document& d) { d.markersize = 0; }},
        {"printox", [](Document& d) { d.printox = -0.1; }},
        {"linetype", [](Document& d) { d.sets[1].params.linetype = -1; }},
        {"shape", [](Document& d) { d.sets[1].params.shape = -1; }},
        {"error bars without error data", [](Document& d) { d.sets[1].params.marker = 2; }},
        {"spline of one point", [](Document& d) { d.sets[1].params.interp = 2; }},
    };
    for (const Case& c : cases) {
        Document doc = base;
        c.breakIt(doc);
        EXPECT_FALSE(doc.isValid()) << c.what;
    }
    Document doc = base;
    doc.printw = 20;
    doc.sets[1].errorbar = true;
    doc.sets[1].params.marker = 3;
    EXPECT_TRUE(doc.isValid());
}

TEST(DocumentTest, SameAsComparesSetsAsReferences) {
    testing::RecordingMessageBoxes messages;
    DataPool pool(messages);
    Document a = validDocument();
    a.data = 1;
    loadSet(pool, a.sets[1], {1, 2});
    Document b = a;
    EXPECT_TRUE(a.sameAs(b));
    // Same numbers, other storage: a different reference.
    loadSet(pool, b.sets[1], {1, 2});
    EXPECT_FALSE(a.sameAs(b));
    b = a;
    b.sets[2].params.interp = 0;  // beyond `data`: not compared
    EXPECT_TRUE(a.sameAs(b));
    b.xtitle = "time";
    EXPECT_FALSE(a.sameAs(b));
}

TEST(DocumentTest, AutoRangeAndResetAxes) {
    Document doc;
    doc.xtype = 1;
    doc.vtitle = "kept";
    doc.autoRange({0, 10, -1, 1});
    EXPECT_EQ(doc.xtype, 0);
    EXPECT_DOUBLE_EQ(doc.xmin, -0.5);
    EXPECT_DOUBLE_EQ(doc.xmax, 10.5);
    EXPECT_DOUBLE_EQ(doc.ymin, -1.1);
    EXPECT_EQ(doc.dataxmax, 10);

    doc.xsize = 50;
    doc.xtitle = "t";
    doc.area = {1, 2, 3, 4};
    doc.resetAxes();
    EXPECT_EQ(doc.xsize, 100);
    EXPECT_EQ(doc.xtitle, "X");
    EXPECT_EQ(doc.xmax, 1);
    EXPECT_EQ(doc.area, (std::array<double, 4>{25, 95, 25, 95}));
    EXPECT_EQ(doc.vtitle, "kept");
    EXPECT_EQ(doc.dataxmax, 10);
}

TEST(DocumentTest, AutoRangeWidensASingleValueAroundItself) {
    constexpr double kMax = std::numeric_limits<double>::max();
    constexpr double kTiny = std::numeric_limits<double>::denorm_min();
    struct Case {
        const char* what;
        double value;
        double lo, hi;
    };
    const Case cases[] = {
        {"positive", 5, 4.5, 5.5},
        {"negative", -20, -22, -18},
        {"zero", 0, -1, 1},
        {"small", 1e-300, 0.9e-300, 1.1e-300},
        {"largest double", kMax, 0.9 * kMax, kMax},
        {"lowest double", -kMax, -kMax, -0.9 * kMax},
        {"smallest denormal", kTiny, 0, 2 * kTiny},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        // Constant y over a range of x, then constant x and y (a single point).
        Document doc = validDocument();
        doc.autoRange({0, 10, c.value, c.value});
        EXPECT_DOUBLE_EQ(doc.ymin, c.lo);
        EXPECT_DOUBLE_EQ(doc.ymax, c.hi);
        EXPECT_DOUBLE_EQ(doc.xmin, -0.5);
        EXPECT_EQ(doc.dataymin, c.value);
        EXPECT_EQ(doc.dataymax, c.value);
        EXPECT_TRUE(doc.isValid());
        doc.autoRange({c.value, c.value, c.value, c.value});
        EXPECT_DOUBLE_EQ(doc.xmin, c.lo);
        EXPECT_DOUBLE_EQ(doc.xmax, c.hi);
        EXPECT_TRUE(doc.isValid());
    }
}

TEST(DocumentTest, NormaliseWidensSingleValueExtentsByTheAxisType) {
    struct Case {
        const char* what;
        std::int8_t type;
        double value;
        double lo, hi;
        std::int8_t typeAfter;
    };
    const Case cases[] = {
        {"linear", 0, 5, 4.5, 5.5, 0},
        {"log of positive values", 1, 5, 0.5, 50, 1},
        {"log of negative values", -1, -5, -50, -0.5, -1},
        {"log over zero becomes linear", 1, 0, -1, 1, 0},
        {"log of the largest double", 1, std::numeric_limits<double>::max(),
         std::numeric_limits<double>::max() / 10, std::numeric_limits<double>::max(), 1},
    };
    testing::RecordingMessageBoxes messages;
    DataPool pool(messages);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Document doc = validDocument();
        doc.data = 1;
        loadSet(pool, doc.sets[1], {c.value});
        doc.dataymin = doc.dataymax = c.value;  // stored limits that do not increase, constant data
        doc.ymin = doc.ymax = 3;
        doc.ytype = c.type;
        doc.dataxmin = 1;
        doc.dataxmax = 1;
        doc.xmin = doc.xmax = 0;
        doc.normalise();
        EXPECT_DOUBLE_EQ(doc.ymin, c.lo);
        EXPECT_DOUBLE_EQ(doc.ymax, c.hi);
        EXPECT_EQ(doc.ytype, c.typeAfter);
        EXPECT_DOUBLE_EQ(doc.xmin, 0.9);
        EXPECT_DOUBLE_EQ(doc.xmax, 1.1);
        EXPECT_TRUE(doc.isValid());
    }
}

TEST(DataSetGroupTest, ExtentsMaxCountAndAscending) {
    testing::RecordingMessageBoxes messages;
    DataPool pool(messages);
    Document doc;
    loadSet(pool, doc.sets[1], {4, -2, 7}, {3, 1, 2});
    loadSet(pool, doc.sets[2], {1}, {-9});
    loadSet(pool, doc.sets[3], {1, 1}, {5, 5});
    EXPECT_EQ(extents(doc.setRange(1, 3)), (Extents{-9, 5, -2, 7}));
    EXPECT_EQ(extents(doc.setRange(4, 1)), (Extents{}));
    EXPECT_EQ(maxCount(doc.setRange(1, 3)), 3);
    EXPECT_EQ(maxCount(doc.setRange(1, 0)), 0);
    markAscending(doc.setRange(1, 3));
    EXPECT_FALSE(doc.sets[1].ascending);
    EXPECT_TRUE(doc.sets[2].ascending);   // a single point
    EXPECT_FALSE(doc.sets[3].ascending);  // equal x is not increasing
}

TEST(DataSetGroupTest, LineAndMarkerSchemesCountFromOne) {
    Document doc;
    for (int i = 1; i <= 5; ++i) doc.sets[i].errorbar = (i == 2);
    defaultLines(doc.setRange(1, 5));
    EXPECT_EQ(doc.sets[1].params, (GraphParams{1, 0, 0, 0}));
    EXPECT_EQ(doc.sets[2].params, (GraphParams{0, 0, 3, 2}));
    defaultMarkers(doc.setRange(1, 5));
    EXPECT_EQ(doc.sets[1].params, (GraphParams{0, 0, 1, 1}));  // square
    EXPECT_EQ(doc.sets[2].params, (GraphParams{0, 0, 3, 2}));  // triangle, with error bars
    EXPECT_EQ(doc.sets[3].params.shape, 3);                     // diamond
    EXPECT_EQ(doc.sets[4].params.shape, 0);                     // circle
    EXPECT_EQ(doc.sets[5].params.shape, 1);
}

TEST(DataPoolTest, AccountsBlocksAndReleasesEverything) {
    testing::RecordingMessageBoxes messages;
    DataPool pool(messages);
    auto storage = pool.allocateSet(10);
    ASSERT_TRUE(storage);
    EXPECT_EQ(storage->x.size(), 11u);
    EXPECT_EQ(pool.bytesTaken(), (2 * 10 + 2) * 8 + 512 + 8);
    pool.reserveWorkSpace(10);
    EXPECT_EQ(pool.bytesTaken(), (2 * 10 + 2) * 8 + 512 + 8 + 11 * 72 + 8);
    EXPECT_EQ(pool.blockCount(), 2);
    EXPECT_EQ(pool.workSpace().size(), 99u);
    pool.releaseAll();
    EXPECT_EQ(pool.bytesTaken(), 0);
    EXPECT_EQ(pool.blockCount(), 0);
    EXPECT_TRUE(pool.workSpace().empty());
    // A Document that still holds the storage can read it safely after the release.
    EXPECT_EQ(storage->x.size(), 11u);
    EXPECT_TRUE(messages.messages().empty());
}

TEST(DataPoolTest, BadSizesAreFatal) {
    testing::RecordingMessageBoxes messages;
    DataPool pool(messages);
    EXPECT_EQ(pool.allocateSet(-1), nullptr);
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_EQ(messages.messages()[0].kind, "fatal");
    EXPECT_EQ(messages.messages()[0].text, "Alloc: Invalid patrameter!");
    EXPECT_EQ(pool.allocateSet(std::int64_t{1} << 61), nullptr);
    EXPECT_EQ(messages.messages().back().text, "not enough memory!");
    EXPECT_EQ(pool.bytesTaken(), 0);
}

TEST(ViewListTest, AddSelectAndDelete) {
    ViewList views;
    EXPECT_EQ(views.viewCount(), 1);
    EXPECT_FALSE(views.deleteCurrentView());
    views.current().xtitle = "one";
    views.addView();
    views.current().xtitle = "two";
    views.addView();
    views.current().xtitle = "three";
    EXPECT_EQ(views.indexOfCurrent(), 3);
    EXPECT_EQ(views.viewAt(2).xtitle, "two");

    // Deleting the last view makes the second current.
    EXPECT_TRUE(views.deleteCurrentView());
    EXPECT_EQ(views.viewCount(), 2);
    EXPECT_EQ(views.indexOfCurrent(), 2);
    EXPECT_EQ(views.current().xtitle, "two");

    // Deleting the first view: the first node takes the second's settings and stays current.
    views.addView();
    views.current().xtitle = "three";
    Document* firstNode = &views.first();
    ASSERT_TRUE(views.setCurrent(1));
    EXPECT_TRUE(views.deleteCurrentView());
    EXPECT_EQ(&views.current(), firstNode);
    EXPECT_EQ(views.current().xtitle, "two");
    EXPECT_EQ(views.viewAt(2).xtitle, "three");

    EXPECT_FALSE(views.setCurrent(3));
    views.truncateAfter(1);
    EXPECT_EQ(views.viewCount(), 1);
    EXPECT_EQ(views.indexOfCurrent(), 1);
}

TEST(ViewListTest, AppendFreshDoesNotChangeTheCurrentView) {
    ViewList views;
    views.current().xtitle = "mine";
    EXPECT_EQ(views.appendFresh(), 2);
    EXPECT_EQ(views.indexOfCurrent(), 1);
    EXPECT_EQ(views.viewAt(2).xtitle, "X");
    ASSERT_TRUE(views.setCurrent(2));
    views.truncateAfter(1);
    EXPECT_EQ(views.indexOfCurrent(), 1);
}

}  // namespace
}  // namespace varnex

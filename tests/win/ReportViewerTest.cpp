// The installation report's viewer: lines written by the engine, as a
// reader of the real RichEdit finds them.
#include <gtest/gtest.h>
#include <windows.h>
#include <richedit.h>

#include <memory>
#include <string>

#include "ui/RichText.h"

namespace qv::wizard {
namespace {

class ReportViewerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        parent_ = ::CreateWindowExA(0, "STATIC", "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 500,
                                    400, nullptr, nullptr, nullptr, nullptr);
        ASSERT_TRUE(parent_);
        viewer_ = CreateRichViewer(parent_, 1, WS_VSCROLL);
        ::MoveWindow(viewer_, 0, 0, 480, 380, FALSE);
        sink_ = std::make_unique<RichEditReportSink>(viewer_);
    }
    void TearDown() override
    {
        sink_.reset();
        if (parent_)
            ::DestroyWindow(parent_);
    }

    // What any other program reading the window gets (WM_GETTEXT).
    std::string Text() const
    {
        char buffer[4096] = {};
        ::GetWindowTextA(viewer_, buffer, sizeof buffer);
        return buffer;
    }

    // The character height, in points, at the first character of what in
    // Text(); a paragraph break is one character for the viewer.
    int PointsAt(const std::string& what) const
    {
        const std::string text = Text();
        const std::size_t at = text.find(what);
        EXPECT_NE(at, std::string::npos) << what;
        int position = 0;
        for (std::size_t i = 0; i < at; ++i)
            position += text[i] == '\n' ? 0 : 1;
        ::SendMessageA(viewer_, EM_SETSEL, position, position + 1);
        CHARFORMATA cf{};
        cf.cbSize = sizeof cf;
        ::SendMessageA(viewer_, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf));
        return static_cast<int>(cf.yHeight / 20);
    }

    static void Pump()
    {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            ::DispatchMessageA(&msg);
    }

    HWND parent_ = nullptr;
    HWND viewer_ = nullptr;
    std::unique_ptr<RichEditReportSink> sink_;
};

TEST_F(ReportViewerTest, EveryLineWrittenIsThereForWhoeverLooks)
{
    // A run's lines: a 10-point header, lines that keep the format, a
    // 10-point result. Nothing is pumped in between, as during a run.
    sink_->AddLine("Mise à jour : Quorvex Finance  01.02.2026 10:00:00\r\n", 10, "");
    sink_->AddLine("Copie de C:\\tmp\\Update1.tmp", 0, "");
    sink_->AddLine("vers C:\\Quorvex5\\a.dll\r\n", 0, "");
    EXPECT_EQ(Text(),
              "Mise à jour : Quorvex Finance  01.02.2026 10:00:00\r\n\r\n"
              "Copie de C:\\tmp\\Update1.tmp\r\nvers C:\\Quorvex5\\a.dll\r\n\r\n");

    // More lines after the viewer was read, the last alone in its burst
    // (the program looks at its messages before it).
    sink_->AddLine("", 0, "");
    sink_->AddLine("\r\nLa mise à jour est terminée avec succès.", 10, "");
    Pump();
    sink_->AddLine("Autre ligne", 0, "");
    Pump();
    EXPECT_EQ(Text(),
              "Mise à jour : Quorvex Finance  01.02.2026 10:00:00\r\n\r\n"
              "Copie de C:\\tmp\\Update1.tmp\r\nvers C:\\Quorvex5\\a.dll\r\n\r\n"
              "\r\n\r\nLa mise à jour est terminée avec succès.\r\nAutre ligne\r\n");

    // The header and the result line in 10 points. A line that sets no
    // size has the same size whether it came in the burst of a 10-point
    // line or alone.
    EXPECT_EQ(PointsAt("Mise"), 10);
    EXPECT_EQ(PointsAt("La mise"), 10);
    EXPECT_EQ(PointsAt("Copie"), PointsAt("Autre"));
    EXPECT_EQ(PointsAt("vers"), PointsAt("Autre"));
}

TEST_F(ReportViewerTest, TheViewerTakesTheFocusWithTheFirstLine)
{
    ::SetFocus(parent_);
    sink_->AddLine("Première ligne", 0, "");
    EXPECT_EQ(::GetFocus(), viewer_);
}

TEST_F(ReportViewerTest, LinesHeldWhenTheSinkGoesReachTheViewer)
{
    sink_->AddLine("Dernière ligne", 0, "");
    sink_.reset();
    EXPECT_EQ(Text(), "Dernière ligne\r\n");
    // The viewer works on without the sink.
    ::SetWindowTextA(viewer_, "autre");
    Pump();
    EXPECT_EQ(Text(), "autre");
}

TEST_F(ReportViewerTest, AViewerDestroyedWithLinesHeldLeavesTheSinkHarmless)
{
    sink_->AddLine("Ligne", 0, "");
    ::DestroyWindow(parent_);
    parent_ = nullptr;
    Pump();
    sink_->AddLine("Ligne après", 0, "");  // dropped, as with no viewer
    sink_->Flush();
    SUCCEED();
}

}  // namespace
}  // namespace qv::wizard

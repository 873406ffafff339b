// RTF streamed into a real RichEdit control.
#include <gtest/gtest.h>
#include <windows.h>
#include <richedit.h>

#include <sstream>
#include <stdexcept>
#include <streambuf>

#include "platform/win32/Win32Handles.h"
#include "ui/RichText.h"

namespace qv::wizard {
namespace {

class RichTextTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        library_.reset(LoadLibraryA("riched20.dll"));
        ASSERT_TRUE(library_);
        viewer_.reset(CreateWindowExA(0, "RichEdit20A", "", WS_OVERLAPPEDWINDOW | ES_MULTILINE |
                                      ES_READONLY | WS_VSCROLL, 0, 0, 400, 300, nullptr,
                                      nullptr, GetModuleHandleA(nullptr), nullptr));
        ASSERT_TRUE(viewer_);
    }

    std::string Text()
    {
        GETTEXTLENGTHEX lengthInfo = {GTL_DEFAULT, CP_ACP};
        LRESULT length = SendMessageA(viewer_.get(), EM_GETTEXTLENGTHEX,
                                      reinterpret_cast<WPARAM>(&lengthInfo), 0);
        std::string text(static_cast<std::size_t>(length) + 1, '\0');
        GETTEXTEX get = {static_cast<DWORD>(text.size()), GT_DEFAULT, 1252, nullptr, nullptr};
        LRESULT n = SendMessageA(viewer_.get(), EM_GETTEXTEX, reinterpret_cast<WPARAM>(&get),
                                 reinterpret_cast<LPARAM>(text.data()));
        text.resize(static_cast<std::size_t>(n));
        return text;
    }

    int Lines() { return static_cast<int>(SendMessageA(viewer_.get(), EM_GETLINECOUNT, 0, 0)); }

    win32::UniqueModule library_;
    win32::UniqueWindow viewer_;
};

TEST_F(RichTextTest, MixedLineBreaksStreamIntoParagraphs)
{
    // Lone CR, lone LF and CR LF between the RTF groups; accented text.
    std::istringstream rtf(
        "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0 Arial;}}\r"
        "{\\b Premi\\'e8re ligne}\\par\n"
        "Deuxi\\'e8me ligne\\par\r\n\r"
        "Fin}");
    EXPECT_EQ(StreamRichText(viewer_.get(), rtf), 0);
    EXPECT_EQ(Text(), "Première ligne\rDeuxième ligne\rFin");
    EXPECT_EQ(Lines(), 3);
}

TEST_F(RichTextTest, LongDocumentsArriveInManyChunksAndReplaceTheContent)
{
    std::string rtf = "{\\rtf1\\ansi\n";
    for (int i = 0; i < 2000; ++i)
        rtf += "Ligne " + std::to_string(i) + "\\par\n";
    rtf += "}";
    std::istringstream first("{\\rtf1\\ansi Ancien contenu}");
    ASSERT_EQ(StreamRichText(viewer_.get(), first), 0);
    std::istringstream second(rtf);
    second.seekg(0);
    EXPECT_EQ(StreamRichText(viewer_.get(), second), 0);
    std::string text = Text();
    EXPECT_EQ(text.rfind("Ligne 0\rLigne 1\r", 0), 0u);
    EXPECT_NE(text.find("Ligne 1999"), std::string::npos) << text.size() << " " << text.substr(text.size() > 40 ? text.size() - 40 : 0);
    EXPECT_EQ(text.find("Ancien"), std::string::npos);
}

// A stream whose reading fails half-way.
class FailingBuffer : public std::streambuf {
protected:
    int_type underflow() override
    {
        if (served_)
            throw std::runtime_error("disk gone");
        served_ = true;
        static char data[] = "{\\rtf1\\ansi Debut";
        setg(data, data, data + sizeof data - 1);
        return traits_type::to_int_type(data[0]);
    }

private:
    bool served_ = false;
};

TEST_F(RichTextTest, AReadErrorStopsTheStreamWithTheControlsError)
{
    FailingBuffer buffer;
    std::istream stream(&buffer);
    EXPECT_NE(StreamRichText(viewer_.get(), stream), 0);
}

}  // namespace
}  // namespace qv::wizard

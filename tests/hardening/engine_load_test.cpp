// The engine's configuration file under several writer processes at once, and
// under writers killed at random moments: afterwards the file always parses, every
// write the engine confirmed is there, and no other byte of the file has moved.
#include <windows.h>

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "common/text.h"
#include "idapi/ConfigFile.h"
#include "tests/hardening/process.h"

namespace {

constexpr int kWriters = 4;
constexpr DWORD kMinute = 60 * 1000;

// Writers own W0..W3; W4 and everything else must stay exactly as it is. Mixed
// line endings, padding, comments and code page 874 bytes are there to be kept.
std::string Render(const std::array<std::string, kWriters>& values) {
    return "; hardening: only W0..W3 may change\r\n"
           "[\\SYSTEM\\INIT]\n"
           "LOCAL SHARE=FALSE\n"
           "LANGDRIVER=thai\n"
           "\n"
           "[\\HARDENING\\LOAD]\r\n"
           "W0=" + values[0] + "\r\n"
           "  KEEP A =  padded value  \n"
           "W1=" + values[1] + "\n"
           "; a comment between entries\n"
           "W2=" + values[2] + "\n"
           "KEEP B=\xC1\xD2\xC9\xD2\xE4\xB7\xC2\n"
           "W4=not a writer's\n"
           "W3=" + values[3] + "\n"
           "\n"
           "[\\DRIVERS\\PARADOX\\INIT]\n"
           "NET DIR=D:\\Apps\\Shared\\\n"
           "LANGDRIVER=ascii";
}

std::string ReadFileBytes(const std::wstring& path) {
    common::unique_hfile file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                            nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file) return "<unreadable>";
    std::string text(1 << 16, '\0');
    DWORD read = 0;
    ::ReadFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &read, nullptr);
    text.resize(read);
    return text;
}

void WriteFileBytes(const std::wstring& path, const std::string& text) {
    common::unique_hfile file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    ASSERT_TRUE(file);
    DWORD written = 0;
    ASSERT_TRUE(::WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr));
}

// The count of writes a writer had confirmed when it stopped.
long Progress(const std::wstring& path) { return std::strtol(ReadFileBytes(path).c_str(), nullptr, 10); }

// The value of entry name in the load section, or "<missing>".
std::string LoadValue(const std::string& text, const std::string& name) {
    const auto file = idapi::ParseConfigFile(text);
    if (!file) return "<unparsable>";
    const auto* section = idapi::FindSection(*file, "\\HARDENING\\LOAD");
    const auto* entry = section ? idapi::FindEntry(*section, name, 0) : nullptr;
    return entry ? text.substr(entry->valueOffset, entry->valueLength) : "<missing>";
}

size_t CountLeftovers(const std::wstring& folder) {
    size_t count = 0;
    WIN32_FIND_DATAW data;
    common::unique_hfind find(::FindFirstFileW((folder + L"*.tmp").c_str(), &data));
    if (find) {
        do ++count;
        while (::FindNextFileW(find.get(), &data));
    }
    return count;
}

class EngineUnderLoad : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = L"D:\\hardening-engine-" + std::to_wstring(::GetCurrentProcessId()) + L"\\";
        ::CreateDirectoryW(folder_.c_str(), nullptr);
        config_ = folder_ + L"IDAPI32.INI";
        values_.fill("initial");
        WriteFileBytes(config_, Render(values_));
        // The writers find the file through the engine's own override.
        ::SetEnvironmentVariableW(L"IDAPI_CONFIG", config_.c_str());
    }

    std::unique_ptr<hardening::Process> StartWriter(int writer, const std::string& tag, long count) {
        // A writer killed before it got going must not be credited with its predecessor's count.
        ::DeleteFileW(ProgressFile(writer).c_str());
        const std::wstring arguments = L"W" + std::to_wstring(writer) + L" " + common::AnsiToWide(tag) + L" " +
                                       std::to_wstring(count) + L" \"" + ProgressFile(writer) + L"\"";
        return std::make_unique<hardening::Process>(hardening::ExecutableFolder() + L"hardening_engine_writer.exe",
                                                    arguments, folder_);
    }

    std::wstring ProgressFile(int writer) const { return folder_ + L"progress" + std::to_wstring(writer); }

    std::wstring folder_;
    std::wstring config_;
    std::array<std::string, kWriters> values_;
};

TEST_F(EngineUnderLoad, ConcurrentWritersLoseNoConfirmedWriteAndMoveNothingElse) {
    constexpr long kCount = 150;
    std::vector<std::unique_ptr<hardening::Process>> writers;
    for (int w = 0; w < kWriters; ++w) writers.push_back(StartWriter(w, "W" + std::to_string(w) + "c", kCount));
    for (int w = 0; w < kWriters; ++w) {
        EXPECT_EQ(0u, writers[w]->Wait(2 * kMinute)) << "writer " << w;
        values_[w] = "W" + std::to_string(w) + "c#" + std::to_string(kCount);
    }
    EXPECT_EQ(Render(values_), ReadFileBytes(config_));
    EXPECT_EQ(0u, CountLeftovers(folder_));
}

TEST_F(EngineUnderLoad, WritersKilledAtRandomMomentsLeaveAWholeFile) {
    const char* seedText = std::getenv("HARDENING_SEED");
    const unsigned seed = seedText ? static_cast<unsigned>(std::strtoul(seedText, nullptr, 10)) : std::random_device{}();
    std::printf("HARDENING_SEED=%u\n", seed);
    std::mt19937 random(seed);
    constexpr int kRounds = 60;
    long killedMidway = 0, confirmed = 0;

    for (int round = 0; round < kRounds; ++round) {
        std::vector<std::unique_ptr<hardening::Process>> writers;
        std::array<std::string, kWriters> tags;
        for (int w = 0; w < kWriters; ++w) {
            tags[w] = "W" + std::to_string(w) + "r" + std::to_string(round);
            writers.push_back(StartWriter(w, tags[w], 1000000));
        }
        // Each writer dies after a random number of confirmed writes, plus a random
        // moment into the next one.
        for (int w = 0; w < kWriters; ++w) {
            const long threshold = std::uniform_int_distribution<long>(0, 25)(random);
            const DWORD deadline = ::GetTickCount() + kMinute;
            while (Progress(ProgressFile(w)) < threshold && writers[w]->Running() &&
                   static_cast<LONG>(deadline - ::GetTickCount()) > 0) {
                ::Sleep(0);
            }
            ::Sleep(std::uniform_int_distribution<DWORD>(0, 3)(random));
            ASSERT_TRUE(writers[w]->Running()) << "writer " << w << " stopped by itself, round " << round
                                               << ", exit code " << writers[w]->Wait(0);
            writers[w]->Kill();
        }

        const std::string text = ReadFileBytes(config_);
        ASSERT_TRUE(idapi::ParseConfigFile(text).has_value()) << "round " << round << ":\n" << text;
        for (int w = 0; w < kWriters; ++w) {
            const long done = Progress(ProgressFile(w));
            const std::string value = LoadValue(text, "W" + std::to_string(w));
            const std::string last = done == 0 ? values_[w] : tags[w] + "#" + std::to_string(done);
            const std::string inFlight = tags[w] + "#" + std::to_string(done + 1);
            ASSERT_TRUE(value == last || value == inFlight)
                << "round " << round << ", W" << w << ": confirmed " << done << " writes, file holds " << value;
            killedMidway += value == inFlight;
            confirmed += done;
            values_[w] = value;
        }
        ASSERT_EQ(Render(values_), text) << "round " << round << ": bytes outside the written values moved";
    }

    // The dead writers' lock is not left behind: a fresh writer still gets through.
    const auto last = StartWriter(0, "after", 5);
    EXPECT_EQ(0u, last->Wait(kMinute));
    values_[0] = "after#5";
    EXPECT_EQ(Render(values_), ReadFileBytes(config_));
    // The next write removes what dead writers left; only the last round's may remain.
    EXPECT_LE(CountLeftovers(folder_), static_cast<size_t>(kWriters));
    std::printf("%d rounds, %d writers killed, %ld confirmed writes kept, %ld writes landed as they were killed, "
                "%zu temporary files left behind\n",
                kRounds, kRounds * kWriters, confirmed, killedMidway, CountLeftovers(folder_));
}

}  // namespace

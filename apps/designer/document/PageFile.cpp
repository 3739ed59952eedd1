#include "apps/designer/document/PageFile.h"

#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/rtl/Files.h"
#include "platform/toolkit/resources/FormReader.h"

std::unique_ptr<TQellPage> ReadPageText(std::string_view Text)
{
    auto Page = std::make_unique<TQellPage>(nullptr);
    ReadComponentRes(*Page, Text, {});
    return Page;
}

std::unique_ptr<TQellPage> LoadPageFile(const std::string& FileName)
{
    const std::string Text = ReadFileText(FileName, MaxPageFileSize);
    try {
        return ReadPageText(Text);
    } catch (const EReadError& E) {
        throw EReadError(QuotedFileName(FileName) + ": " + E.Message());
    }
}

std::string PageText(const TQellPage& Page)
{
    return WriteComponentRes(Page);
}

void SavePageFile(const std::string& FileName, const TQellPage& Page)
{
    WriteFileAtomically(FileName, PageText(Page));
}

TPageFileStamp PageFileStamp(const std::string& FileName)
{
    struct stat Info;
    if (stat(FileName.c_str(), &Info) != 0) return {};
    return {static_cast<uint64_t>(Info.st_dev), static_cast<uint64_t>(Info.st_ino), Info.st_size,
            Info.st_mtim.tv_sec * 1'000'000'000LL + Info.st_mtim.tv_nsec};
}

TPageFileLock::TPageFileLock(const std::string& FileName)
{
    for (;;) {
        struct stat Held, Now;
        if (access(FileName.c_str(), F_OK) != 0) return;
        FFile = OpenRegularFileForReading(FileName, Held);
        while (flock(FFile.Fd(), LOCK_EX) != 0)
            if (errno != EINTR)
                throw EInOutError("Cannot lock " + QuotedFileName(FileName) + ": " + std::strerror(errno));
        if (stat(FileName.c_str(), &Now) == 0 && Now.st_dev == Held.st_dev && Now.st_ino == Held.st_ino) return;
    }
}

TComponent* FindPageComponent(const TQellPage& Page, std::string_view Name)
{
    if (Name.empty()) return nullptr;
    if (SameText(Page.Name(), Name)) return const_cast<TQellPage*>(&Page);
    return Page.FindComponent(Name);
}

std::vector<TComponent*> PageComponents(const TQellPage& Page)
{
    std::vector<TComponent*> All{const_cast<TQellPage*>(&Page)};
    for (int I = 0; I < Page.ComponentCount(); ++I) All.push_back(Page.Components(I));
    return All;
}

TPagePath SplitPagePath(const TQellPage& Page, std::string_view Path)
{
    const size_t Dot = Path.find('.');
    const std::string_view Name = Path.substr(0, Dot);
    TComponent* Component = FindPageComponent(Page, Name);
    if (!Component) throw EPathError("no component " + QuotedInput(Name) + " on the page");
    if (Dot == std::string_view::npos || Dot + 1 == Path.size())
        throw EPathError(QuotedInput(Path) + " names no property: write COMPONENT.PROPERTY");
    return {Component, std::string(Path.substr(Dot + 1))};
}

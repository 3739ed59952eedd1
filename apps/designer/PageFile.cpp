#include "apps/designer/PageFile.h"

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

#include "platform/toolkit/resources/ClassRegistry.h"

#include <algorithm>
#include <vector>

#include "platform/toolkit/Button.h"
#include "platform/toolkit/DrawGrid.h"
#include "platform/toolkit/Edit.h"
#include "platform/toolkit/Label.h"
#include "platform/toolkit/ListBox.h"
#include "platform/toolkit/Memo.h"
#include "platform/toolkit/PageControl.h"
#include "platform/toolkit/PaintBox.h"
#include "platform/toolkit/ScrollBar.h"
#include "platform/toolkit/StatusBar.h"
#include "platform/toolkit/TrackBar.h"

namespace {

struct TRegistration {
    const TClassInfo* Class;
    TModuleHandle Module;
};

// Newest last; a lookup takes the newest registration of a name.
std::vector<TRegistration>& Registry()
{
    static std::vector<TRegistration> Classes;
    static const TModuleUnloadProcId Hook = AddModuleUnloadProc(UnregisterModuleClasses);
    (void)Hook;
    return Classes;
}

} // namespace

void RegisterClass(const TClassInfo& Class, TModuleHandle Module)
{
    auto& Classes = Registry();
    for (const TRegistration& R : Classes)
        if (R.Class == &Class && R.Module == Module) return;
    Classes.push_back({&Class, Module});
}

const TClassInfo* FindClass(std::string_view Name)
{
    const auto& Classes = Registry();
    for (auto It = Classes.rbegin(); It != Classes.rend(); ++It)
        if (SameText(It->Class->Name, Name)) return It->Class;
    return nullptr;
}

std::vector<const TClassInfo*> RegisteredClasses()
{
    std::vector<const TClassInfo*> Found;
    for (const TRegistration& R : Registry())
        if (FindClass(R.Class->Name) == R.Class && std::find(Found.begin(), Found.end(), R.Class) == Found.end())
            Found.push_back(R.Class);
    return Found;
}

void UnregisterModuleClasses(TModuleHandle Module)
{
    std::erase_if(Registry(), [Module](const TRegistration& R) { return R.Module == Module; });
}

void RegisterToolkitClasses()
{
    for (const TClassInfo* C :
         {&TLabel::StaticClassInfo(), &TButton::StaticClassInfo(), &TEdit::StaticClassInfo(),
          &TPageControl::StaticClassInfo(), &TTabSheet::StaticClassInfo(), &TStatusBar::StaticClassInfo(),
          &TPaintBox::StaticClassInfo(), &TTrackBar::StaticClassInfo(), &TDrawGrid::StaticClassInfo(),
          &TListBox::StaticClassInfo(), &TScrollBar::StaticClassInfo(), &TMemo::StaticClassInfo()})
        RegisterClass(*C);
}

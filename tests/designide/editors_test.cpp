// Which editor serves which property, what the inspector asks of an editor's drawing,
// and that every editor goes with its last reference.

#include <gtest/gtest.h>

#include "tests/designide/InspectorTesting.h"

using namespace inspecttest;

namespace {

// Two stand-in modules, so that each test's registrations can be dropped again.
const char ModuleA = 0, ModuleB = 0;

// Counts the live instances of an editor class.
template <int Tag>
class TProbeEditor : public TIntegerProperty, public virtual ICustomPropertyDrawing {
public:
    TProbeEditor(IDesigner* D, int Count) : TIntegerProperty(D, Count) { ++Live; }
    ~TProbeEditor() override { --Live; }
    static inline int Live = 0;
    static const TPropertyEditorClass& Class()
    {
        static const TPropertyEditorClass C{"TProbeEditor" + std::to_string(Tag), [](IDesigner* D, int N) {
                                                return static_cast<TPropertyEditor*>(new TProbeEditor(D, N));
                                            }};
        return C;
    }
    TPropertyAttributes GetAttributes() override { return {paMultiSelect, paValueList, paDialog}; }
    void GetValues(const TGetStrProc& Proc) override { Proc("1"), Proc("2"); }
    void Edit() override { SetOrdValue(77); }
    // What the inspector asked to draw: name or value, rectangle, selected.
    struct TCall {
        bool Name;
        TRect Rect;
        bool Selected;
    };
    static inline std::vector<TCall> Calls;
    void PropDrawName(TCanvas& C, const TRect& R, bool S) override
    {
        Calls.push_back({true, R, S});
        DefaultPropertyDrawName(this, C, R);
    }
    void PropDrawValue(TCanvas& C, const TRect& R, bool S) override
    {
        Calls.push_back({false, R, S});
        DefaultPropertyDrawValue(this, C, R);
    }

protected:
    void* GetInterface(const TGUID& IID) override
    {
        if (IID == ICustomPropertyDrawing::IID) return static_cast<ICustomPropertyDrawing*>(this);
        return TIntegerProperty::GetInterface(IID);
    }
};

class EditorRegistry : public ::testing::Test {
protected:
    void TearDown() override
    {
        NotifyModuleUnload(&ModuleA);
        NotifyModuleUnload(&ModuleB);
    }
    const TPropertyEditorClass* For(const TClassInfo& Class, const char* Prop)
    {
        return GetEditorClass(*Class.FindProperty(Prop), Class);
    }
};

TEST_F(EditorRegistry, MatchesTypeClassAndNameAndTheLatestWins)
{
    const TClassInfo& Gadget = TGadget::StaticClassInfo();
    const TClassInfo& Big = TBigGadget::StaticClassInfo();
    const auto& One = TProbeEditor<1>::Class();
    const auto& Two = TProbeEditor<2>::Class();
    // Unclaimed: the host's editors by kind; TColor and TIWColor have the host's colour
    // editors.
    EXPECT_EQ(For(Gadget, "Count"), &TIntegerProperty::EditorClass());
    EXPECT_EQ(For(Gadget, "Paint"), &TIWColorProperty::EditorClass());
    EXPECT_EQ(For(Gadget, "Tint"), &TColorProperty::EditorClass());

    // For TIWColor on the descendant only: the base class keeps the host's editor, and
    // a TColor property of the same C++ type is not a TIWColor one.
    RegisterPropertyEditor(&TypeInfoTIWColor, &Big, "", One, &ModuleA);
    EXPECT_EQ(For(Big, "Paint"), &One);
    EXPECT_EQ(For(Gadget, "Paint"), &TIWColorProperty::EditorClass());
    EXPECT_EQ(For(Big, "Tint"), &TColorProperty::EditorClass());
    // For the base class: descendants too. The later registration wins.
    RegisterPropertyEditor(&TypeInfoTIWColor, &Gadget, "", Two, &ModuleB);
    EXPECT_EQ(For(Big, "Paint"), &Two);
    EXPECT_EQ(For(Gadget, "Paint"), &Two);
    // A name narrows to that property only.
    RegisterPropertyEditor(&TypeInfoInteger, nullptr, "count", One, &ModuleA);
    EXPECT_EQ(For(Gadget, "Count"), &One);
    EXPECT_EQ(For(TFont::StaticClassInfo(), "Height"), &TIntegerProperty::EditorClass());

    // A module that goes takes its registrations along, and only its own.
    NotifyModuleUnload(&ModuleB);
    EXPECT_EQ(For(Gadget, "Paint"), &TIWColorProperty::EditorClass());
    EXPECT_EQ(For(Big, "Paint"), &One);
    NotifyModuleUnload(&ModuleA);
    EXPECT_EQ(For(Big, "Paint"), &TIWColorProperty::EditorClass());
    EXPECT_EQ(For(Gadget, "Count"), &TIntegerProperty::EditorClass());
    RegisterPropertyEditor(&TypeInfoTIWColor, &Gadget, "", Two, &ModuleB);
    EXPECT_EQ(For(Big, "Paint"), &Two);
}

// A registration for a class type serves the sub-objects of its descendant classes:
// TCollection's serves every collection, and not a font; the latest still wins, so a
// later registration for the exact type takes over until its module goes.
TEST_F(EditorRegistry, AClassTypeServesItsDescendantClassesToo)
{
    const TClassInfo& Gadget = TGadget::StaticClassInfo();
    const auto& One = TProbeEditor<1>::Class();
    const auto& Two = TProbeEditor<2>::Class();
    EXPECT_EQ(For(Gadget, "Slots"), &TClassProperty::EditorClass());
    RegisterPropertyEditor(&TypeInfoTCollection, nullptr, "", One, &ModuleA);
    EXPECT_EQ(For(Gadget, "Slots"), &One);
    EXPECT_EQ(For(Gadget, "Font"), &TClassProperty::EditorClass());
    RegisterPropertyEditor(&TypeInfoTSlots, &Gadget, "", Two, &ModuleB);
    EXPECT_EQ(For(Gadget, "Slots"), &Two);
    NotifyModuleUnload(&ModuleB);
    EXPECT_EQ(For(Gadget, "Slots"), &One);
}

TEST_F(EditorRegistry, TheInspectorDrawsThroughTheEditorAndFreesEveryEditor)
{
    RegisterPropertyEditor(&TypeInfoInteger, &TGadget::StaticClassInfo(), "Count", TProbeEditor<3>::Class(),
                           &ModuleA);
    using TProbe = TProbeEditor<3>;
    {
        TInspectorForm F;
        EXPECT_EQ(TProbe::Live, 1);
        F.Inspector->Refresh();
        EXPECT_EQ(TProbe::Live, 1) << "the rows built again replace the old editors";
        TProbe::Calls.clear();
        F.Inspector->SetSelectedRow(F.Row("Count"));
        F.Form.PaintAll();
        const int Row = F.Row("Count");
        ASSERT_EQ(TProbe::Calls.size(), 2u);
        EXPECT_TRUE(TProbe::Calls[0].Name);
        EXPECT_TRUE(TProbe::Calls[0].Selected);
        EXPECT_EQ(TProbe::Calls[0].Rect.Right, F.Inspector->NameRect(Row).Right);
        EXPECT_EQ(TProbe::Calls[0].Rect.Top, F.Inspector->NameRect(Row).Top);
        EXPECT_FALSE(TProbe::Calls[1].Name);
        EXPECT_EQ(TProbe::Calls[1].Rect, F.Inspector->ValueRect(Row));
        F.Inspector->SetSelectedRow(0);
        TProbe::Calls.clear();
        F.Form.PaintAll();
        ASSERT_EQ(TProbe::Calls.size(), 2u);
        EXPECT_FALSE(TProbe::Calls[0].Selected);

        // Every way through an editor leaves no reference behind: the list, the dialog,
        // typing, another selection.
        F.Run("inspect Inspector Count\ndropdown Inspector\nchoose Inspector \"2\"\nellipsis Inspector\n"
              "type Inspector \"5\"\nkey Enter\ndropdown Inspector\n");
        EXPECT_EQ(F.Gadget.Count, 5);
        EXPECT_EQ(F.Designer.Modifications, 3);
        EXPECT_EQ(TProbe::Live, 1) << "the row's editor; the list's reference went with it";
        F.Inspector->SetSelection({});
        EXPECT_EQ(TProbe::Live, 0);
        F.Inspector->SetSelection({&F.Gadget});
        EXPECT_EQ(TProbe::Live, 1);
    }
    EXPECT_EQ(TProbe::Live, 0) << "freed with the inspector";
}

} // namespace

// The writing half of FormReader.h.

#include <unordered_map>
#include <vector>

#include "platform/toolkit/WinControl.h"
#include "platform/toolkit/resources/FormLexer.h"
#include "platform/toolkit/resources/FormReader.h"

namespace {

class TWriter {
public:
    TWriter(const TComponent& Root, const TBoundEvents* Events);
    std::string Write();

private:
    void WriteObject(const TComponent& C, int Depth);
    void WriteProperties(const TPersistent& Instance, const std::string& Prefix, const std::string& Indent);
    void WriteCollection(const TCollection& Items, const std::string& Name, const std::string& Indent);
    std::string Format(const TPersistent& Instance, const TPropInfo& Prop) const;
    std::string Ident(const std::string& Name, const std::string& PropName) const;
    [[noreturn]] void Fail(const std::string& Message) const;

    const TComponent& FRoot;
    const TComponent* FCurrent = nullptr;
    // Owned components by the object they are written in: their parent when Root owns
    // that too, else Root. Creation order is kept within each list.
    std::unordered_map<const TComponent*, std::vector<const TComponent*>> FNested;
    std::unordered_map<const TPersistent*, std::vector<const TBoundEvent*>> FEvents;
    std::string FOut;
};

TWriter::TWriter(const TComponent& Root, const TBoundEvents* Events) : FRoot(Root)
{
    for (int I = 0; I < Root.ComponentCount(); ++I) {
        const TComponent* C = Root.Components(I);
        const TComponent* Container = &Root;
        if (const auto* Control = dynamic_cast<const TControl*>(C))
            if (const TWinControl* Parent = Control->Parent(); Parent && Parent->Owner() == &Root)
                Container = Parent;
        FNested[Container].push_back(C);
    }
    if (Events)
        for (const TBoundEvent& E : *Events) FEvents[E.Instance].push_back(&E);
}

void TWriter::Fail(const std::string& Message) const
{
    std::string Who = FCurrent->Name().empty() ? FCurrent->ClassName() : FCurrent->Name();
    throw EWriteError(Who + ": " + Message);
}

std::string TWriter::Write()
{
    WriteObject(FRoot, 0);
    return FOut;
}

void TWriter::WriteObject(const TComponent& C, int Depth)
{
    FCurrent = &C;
    // A component the reader could not create again would make a file that cannot be read.
    if (&C != &FRoot && FindClass(C.ClassName()) != &C.ClassInfo())
        Fail("class " + C.ClassName() + " is not registered");
    std::string Indent(static_cast<size_t>(Depth) * 2, ' ');
    FOut += Indent + "object ";
    if (!C.Name().empty()) FOut += C.Name() + ": ";
    FOut += C.ClassName() + "\n";
    WriteProperties(C, "", Indent + "  ");
    if (auto It = FNested.find(&C); It != FNested.end())
        for (const TComponent* Child : It->second) WriteObject(*Child, Depth + 1);
    FOut += Indent + "end\n";
}

// Ancestors' properties first, each class's in declaration order; a sub-object's
// properties where the sub-object is declared, prefixed with its name; bound handlers
// after the instance's values.
void TWriter::WriteProperties(const TPersistent& Instance, const std::string& Prefix, const std::string& Indent)
{
    for (const TPropInfo* Prop : Instance.ClassInfo().AllProperties()) {
        if (Prop->Kind() == TTypeKind::Method || !IsStoredProp(Instance, *Prop)) continue;
        if (Prop->Kind() == TTypeKind::Class) {
            const TPersistent* Sub = GetObjectProp(const_cast<TPersistent&>(Instance), *Prop);
            if (const auto* Items = dynamic_cast<const TCollection*>(Sub))
                WriteCollection(*Items, Prefix + Prop->Name, Indent);
            else
                WriteProperties(*Sub, Prefix + Prop->Name + ".", Indent);
            continue;
        }
        FOut += Indent + Prefix + Prop->Name + " = " + Format(Instance, *Prop) + "\n";
    }
    if (auto It = FEvents.find(&Instance); It != FEvents.end())
        for (const TBoundEvent* E : It->second)
            FOut += Indent + Prefix + E->Property + " = " + Ident(E->Handler, E->Property) + "\n";
}

void TWriter::WriteCollection(const TCollection& Items, const std::string& Name, const std::string& Indent)
{
    FOut += Indent + Name + " = <";
    for (int I = 0; I < Items.Count(); ++I) {
        FOut += "\n" + Indent + "  item\n";
        WriteProperties(*Items.Items(I), "", Indent + "    ");
        FOut += Indent + "  end";
    }
    FOut += ">\n";
}

std::string TWriter::Ident(const std::string& Name, const std::string& PropName) const
{
    if (!TComponent::IsValidIdent(Name)) Fail(PropName + ": " + TFormLexer::Quote(Name) + " is not an identifier");
    return Name;
}

std::string TWriter::Format(const TPersistent& Instance, const TPropInfo& Prop) const
{
    const TTypeInfo& Type = *Prop.PropType;
    switch (Type.Kind) {
    case TTypeKind::String: {
        std::optional<std::string> Encoded = TFormLexer::EncodeString(GetStrProp(Instance, Prop));
        if (!Encoded) Fail(Prop.Name + ": the text holds a NUL or invalid UTF-8");
        return *Encoded;
    }
    case TTypeKind::Enumeration: {
        const int64_t V = GetOrdProp(Instance, Prop);
        const std::string Name = GetEnumName(Type, V);
        return Name.empty() ? std::to_string(V) : Name;
    }
    case TTypeKind::Set: return SetToString(Type, GetOrdProp(Instance, Prop));
    case TTypeKind::Integer:
        if (Type.IntToText) return Type.IntToText(GetOrdProp(Instance, Prop));
        return std::to_string(GetOrdProp(Instance, Prop));
    default: return std::to_string(GetOrdProp(Instance, Prop));
    }
}

} // namespace

std::string WriteComponentRes(const TComponent& Root, const TBoundEvents* Events)
{
    return TWriter(Root, Events).Write();
}

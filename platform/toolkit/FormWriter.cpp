// The writing half of FormReader.h.

#include <cctype>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "platform/toolkit/FormLexer.h"
#include "platform/toolkit/FormReader.h"
#include "platform/toolkit/WinControl.h"

namespace {

std::string UpperCase(std::string_view S)
{
    std::string R(S);
    for (char& C : R) C = static_cast<char>(std::toupper(static_cast<unsigned char>(C)));
    return R;
}

class TWriter {
public:
    explicit TWriter(const TComponent& Root);
    std::string Write();

private:
    void WriteObject(const TComponent& C, int Depth);
    void WriteProperties(const TComponent& C, const TClassInfo& Class, const std::string& Indent);
    std::string Format(const TValue& V, const TComponent& C, const std::string& PropName) const;
    std::string Ident(const std::string& Name, const TComponent& C, const std::string& PropName) const;
    [[noreturn]] static void Fail(const TComponent& C, const std::string& Message);

    const TComponent& FRoot;
    // Owned components by the object they are written in: their parent when Root owns
    // that too, else Root. Creation order is kept within each list.
    std::unordered_map<const TComponent*, std::vector<const TComponent*>> FNested;
    std::string FOut;
};

TWriter::TWriter(const TComponent& Root) : FRoot(Root)
{
    for (int I = 0; I < Root.ComponentCount(); ++I) {
        const TComponent* C = Root.Components(I);
        const TComponent* Container = &Root;
        if (const auto* Control = dynamic_cast<const TControl*>(C))
            if (const TWinControl* Parent = Control->Parent(); Parent && Parent->Owner() == &Root)
                Container = Parent;
        FNested[Container].push_back(C);
    }
}

void TWriter::Fail(const TComponent& C, const std::string& Message)
{
    std::string Who = C.Name().empty() ? C.ClassName() : C.Name();
    throw EWriteError(Who + ": " + Message);
}

std::string TWriter::Write()
{
    WriteObject(FRoot, 0);
    return FOut;
}

void TWriter::WriteObject(const TComponent& C, int Depth)
{
    const TClassInfo* Class = FindClass(C.ClassName());
    if (!Class) Fail(C, "class " + C.ClassName() + " is not registered");
    std::string Indent(static_cast<size_t>(Depth) * 2, ' ');
    FOut += Indent + "object ";
    if (!C.Name().empty()) FOut += C.Name() + ": ";
    FOut += C.ClassName() + "\n";
    WriteProperties(C, *Class, Indent + "  ");
    if (auto It = FNested.find(&C); It != FNested.end())
        for (const TComponent* Child : It->second) WriteObject(*Child, Depth + 1);
    FOut += Indent + "end\n";
}

// Ancestors' properties first, each class's in its table's order; a name that a
// derived class redefines is written once, through the derived definition.
void TWriter::WriteProperties(const TComponent& C, const TClassInfo& Class, const std::string& Indent)
{
    std::vector<const TClassInfo*> Chain;
    for (const TClassInfo* K = &Class; K; K = K->Parent) Chain.push_back(K);
    std::unordered_set<std::string> Seen;
    for (auto K = Chain.rbegin(); K != Chain.rend(); ++K) {
        for (const auto& [Name, Unused] : (*K)->Properties) {
            if (!Seen.insert(UpperCase(Name)).second) continue;
            const TPropInfo* Prop = Class.FindProperty(Name);
            if (!Prop || Prop->SetEvent || !Prop->Get) continue;
            std::optional<TValue> V = Prop->Get(C);
            if (V) FOut += Indent + Name + " = " + Format(*V, C, Name) + "\n";
        }
    }
    for (const auto& [Prop, Handler] : C.EventBindings)
        FOut += Indent + Prop + " = " + Ident(Handler, C, Prop) + "\n";
}

std::string TWriter::Ident(const std::string& Name, const TComponent& C, const std::string& PropName) const
{
    if (!TComponent::IsValidIdent(Name)) Fail(C, PropName + ": " + TFormLexer::Quote(Name) + " is not an identifier");
    return Name;
}

std::string TWriter::Format(const TValue& V, const TComponent& C, const std::string& PropName) const
{
    if (const auto* I = std::get_if<int64_t>(&V)) return std::to_string(*I);
    if (const auto* S = std::get_if<std::string>(&V)) {
        std::optional<std::string> Encoded = TFormLexer::EncodeString(*S);
        if (!Encoded) Fail(C, PropName + ": the text holds a NUL or invalid UTF-8");
        return *Encoded;
    }
    if (const auto* Id = std::get_if<TIdent>(&V)) return Ident(Id->Name, C, PropName);
    const auto& Set = std::get<TSetValue>(V);
    std::string R = "[";
    for (size_t I = 0; I < Set.Members.size(); ++I) {
        if (I) R += ", ";
        R += Ident(Set.Members[I], C, PropName);
    }
    return R + "]";
}

} // namespace

std::string WriteComponentRes(const TComponent& Root)
{
    return TWriter(Root).Write();
}

#include "platform/toolkit/FormReader.h"

#include <cctype>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "platform/toolkit/FormLexer.h"
#include "platform/toolkit/WinControl.h"

namespace {

// Deep enough for any real form, shallow enough that the recursive descent is safe.
constexpr int MaxDepth = 64;

bool IsWord(const TFormToken& T, std::string_view Word)
{
    return T.Kind == TFormTokenKind::Identifier && SameText(T.Text, Word);
}

bool IsSymbol(const TFormToken& T, char C) { return T.Kind == TFormTokenKind::Symbol && T.Symbol == C; }

std::string Describe(const TFormToken& T)
{
    return T.Kind == TFormTokenKind::EndOfText ? "end of text" : TFormLexer::Quote(T.Text);
}

// The property's name as its class spells it, for EventBindings.
std::string CanonicalPropertyName(const TClassInfo& Class, const std::string& Name)
{
    for (const TClassInfo* C = &Class; C; C = C->Parent)
        if (auto It = C->Properties.find(Name); It != C->Properties.end()) return It->first;
    return Name;
}

// One read: a recursive descent over the tokens that builds the components as it goes
// and remembers everything it did, so that a failure can undo it.
class TReader {
public:
    TReader(TComponent& Root, std::string_view Text, const TFormBindings& Bindings);
    void Read();
    void Undo() noexcept;

private:
    void Advance() { FTok = FLexer.Next(); }
    [[noreturn]] void Fail(const std::string& Message) const { TFormLexer::Fail(FTok.Line, Message); }
    std::string ExpectIdentifier(const std::string& What);
    void ReadHeader(std::string& Name, std::string& ClassName);
    void ReadBody(TComponent& Component, const TClassInfo& Class, int Depth);
    void ReadChild(TComponent& Enclosing, int Depth);
    void ReadProperty(TComponent& Component, const TClassInfo& Class);
    TValue ReadValue(const std::string& PropName);
    void BindEvent(TComponent& Component, const TClassInfo& Class, const std::string& PropName,
                   const TPropInfo& Prop, const TValue& Value, int Line);
    void OfferToField(TComponent& Component, int Line);
    void SetRootName(const std::string& Name);
    template <typename F>
    void AtLine(int Line, const std::string& Context, F&& Action);

    TComponent& FRoot;
    TFormLexer FLexer;
    TFormToken FTok;
    const TFormBindings& FBindings;
    std::unordered_map<std::string, const std::string*> FHandlerNames; // upper case -> key
    std::unordered_map<std::string, const std::function<bool(TComponent*)>*> FFields;
    std::vector<const std::function<bool(TComponent*)>*> FBoundFields;
    std::unordered_set<std::string> FNames; // upper-case names created by this read
    std::vector<TComponent*> FCreated;       // in creation order
    std::vector<TComponent*> FLoadOrder;     // children before their enclosing object
    std::string FOldRootName;
    std::vector<std::pair<std::string, std::string>> FOldRootBindings;
};

TReader::TReader(TComponent& Root, std::string_view Text, const TFormBindings& Bindings)
    : FRoot(Root), FLexer(Text), FBindings(Bindings), FOldRootName(Root.Name()),
      FOldRootBindings(Root.EventBindings)
{
    for (const auto& Entry : Bindings.Handlers) FHandlerNames.emplace(UpperCase(Entry.first), &Entry.first);
    for (const auto& Entry : Bindings.Fields) FFields.emplace(UpperCase(Entry.first), &Entry.second);
}

template <typename F>
void TReader::AtLine(int Line, const std::string& Context, F&& Action)
{
    try {
        Action();
    } catch (const Exception& E) {
        TFormLexer::Fail(Line, Context + E.Message());
    }
}

std::string TReader::ExpectIdentifier(const std::string& What)
{
    if (FTok.Kind != TFormTokenKind::Identifier) Fail(What + " expected but found " + Describe(FTok));
    std::string Word(FTok.Text);
    Advance();
    return Word;
}

// "Name: TClass", or just "TClass" for a component without a name.
void TReader::ReadHeader(std::string& Name, std::string& ClassName)
{
    std::string First = ExpectIdentifier("component name");
    if (IsSymbol(FTok, ':')) {
        Advance();
        Name = First;
        ClassName = ExpectIdentifier("class name");
    } else {
        ClassName = First;
    }
}

void TReader::Read()
{
    Advance();
    if (!IsWord(FTok, "object")) Fail("'object' expected but found " + Describe(FTok));
    int HeaderLine = FTok.Line;
    Advance();
    std::string Name, ClassName;
    ReadHeader(Name, ClassName);
    if (!SameText(ClassName, FRoot.ClassName()))
        TFormLexer::Fail(HeaderLine, "class " + TFormLexer::Quote(ClassName) + " does not match the root's class " +
                                         FRoot.ClassName());
    const TClassInfo* RootClass = FindClass(FRoot.ClassName());
    if (!RootClass) TFormLexer::Fail(HeaderLine, "class " + TFormLexer::Quote(ClassName) + " is not registered");
    SetRootName(Name);

    ReadBody(FRoot, *RootClass, 1);
    int EndLine = FTok.Line;
    if (FTok.Kind != TFormTokenKind::EndOfText)
        Fail("text after the end of the root object: " + Describe(FTok));

    std::unordered_set<const std::function<bool(TComponent*)>*> Bound(FBoundFields.begin(), FBoundFields.end());
    for (const auto& Entry : FBindings.Fields)
        if (!Bound.count(&Entry.second))
            TFormLexer::Fail(EndLine, "field " + TFormLexer::Quote(Entry.first) + " has no object in the resource");

    for (TComponent* C : FLoadOrder) C->Loaded();
    FRoot.Loaded();
}

// Another form of the same owner may already carry the name (two dialogs of one class
// open at once); like any owner's components, the root then gets a numbered variant.
void TReader::SetRootName(const std::string& Name)
{
    std::string Unique = Name;
    TComponent* Owner = FRoot.Owner();
    for (int N = 1; Owner && !Unique.empty(); ++N) {
        TComponent* Other = Owner->FindComponent(Unique);
        if (!Other || Other == &FRoot) break;
        Unique = Name + "_" + std::to_string(N);
    }
    AtLine(FTok.Line, "", [&] { FRoot.SetName(Unique); });
}

void TReader::ReadBody(TComponent& Component, const TClassInfo& Class, int Depth)
{
    for (;;) {
        if (IsWord(FTok, "end")) {
            Advance();
            return;
        }
        if (IsWord(FTok, "object"))
            ReadChild(Component, Depth + 1);
        else if (FTok.Kind == TFormTokenKind::Identifier)
            ReadProperty(Component, Class);
        else
            Fail("'end' expected but found " + Describe(FTok));
    }
}

void TReader::ReadChild(TComponent& Enclosing, int Depth)
{
    int Line = FTok.Line;
    if (Depth > MaxDepth) Fail("objects nested deeper than " + std::to_string(MaxDepth) + " levels");
    Advance();
    std::string Name, ClassName;
    ReadHeader(Name, ClassName);
    const TClassInfo* Class = FindClass(ClassName);
    if (!Class) TFormLexer::Fail(Line, "unknown class " + TFormLexer::Quote(ClassName));
    if (!Class->Create) TFormLexer::Fail(Line, "class " + TFormLexer::Quote(ClassName) + " cannot be created here");
    if (!Name.empty() && !FNames.insert(UpperCase(Name)).second)
        TFormLexer::Fail(Line, "duplicate component name " + TFormLexer::Quote(Name));

    TComponent* Component = nullptr;
    AtLine(Line, "", [&] { Component = Class->Create(&FRoot); });
    if (!Component) TFormLexer::Fail(Line, "class " + TFormLexer::Quote(ClassName) + " could not be created");
    FCreated.push_back(Component);
    AtLine(Line, "", [&] { Component->SetName(Name); });

    if (auto* Control = dynamic_cast<TControl*>(Component)) {
        auto* Parent = dynamic_cast<TWinControl*>(&Enclosing);
        // Without a parent the control would silently never show.
        if (!Parent)
            TFormLexer::Fail(Line, "control " + TFormLexer::Quote(Name.empty() ? ClassName : Name) +
                                       " cannot be placed on " + TFormLexer::Quote(Enclosing.Name()) +
                                       ", which holds no controls");
        AtLine(Line, "", [&] { Control->SetParent(Parent); });
    }
    OfferToField(*Component, Line);

    ReadBody(*Component, *Class, Depth);
    FLoadOrder.push_back(Component);
}

void TReader::OfferToField(TComponent& Component, int Line)
{
    if (Component.Name().empty()) return;
    auto It = FFields.find(UpperCase(Component.Name()));
    if (It == FFields.end()) return;
    FBoundFields.push_back(It->second);
    if (!(*It->second)(&Component))
        TFormLexer::Fail(Line, "field " + TFormLexer::Quote(Component.Name()) + " does not take a " +
                                   Component.ClassName());
}

void TReader::ReadProperty(TComponent& Component, const TClassInfo& Class)
{
    int Line = FTok.Line;
    std::string Name(FTok.Text);
    Advance();
    while (IsSymbol(FTok, '.')) {
        Advance();
        Name += "." + ExpectIdentifier("property name after '.'");
    }
    const TPropInfo* Prop = Class.FindProperty(Name);
    if (!Prop) TFormLexer::Fail(Line, "unknown property " + TFormLexer::Quote(Name) + " of " + Class.Name);
    if (!IsSymbol(FTok, '=')) Fail("'=' expected after " + TFormLexer::Quote(Name) + " but found " + Describe(FTok));
    Advance();
    TValue Value = ReadValue(Name);

    if (Prop->SetEvent)
        BindEvent(Component, Class, Name, *Prop, Value, Line);
    else if (Prop->Set)
        AtLine(Line, Name + ": ", [&] { Prop->Set(Component, Value); });
    else
        TFormLexer::Fail(Line, "property " + TFormLexer::Quote(Name) + " cannot be set");
}

TValue TReader::ReadValue(const std::string& PropName)
{
    if (FTok.Kind == TFormTokenKind::Integer) {
        int64_t V = FTok.Int;
        Advance();
        return V;
    }
    if (FTok.Kind == TFormTokenKind::String) {
        std::string S = std::move(FTok.Str);
        Advance();
        while (IsSymbol(FTok, '+')) {
            Advance();
            if (FTok.Kind != TFormTokenKind::String) Fail("string expected after '+' but found " + Describe(FTok));
            S += FTok.Str;
            Advance();
        }
        return S;
    }
    if (FTok.Kind == TFormTokenKind::Identifier) {
        TIdent Ident{std::string(FTok.Text)};
        Advance();
        return Ident;
    }
    if (IsSymbol(FTok, '[')) {
        Advance();
        TSetValue Set;
        if (!IsSymbol(FTok, ']')) {
            for (;;) {
                Set.Members.push_back(ExpectIdentifier("set member"));
                if (IsSymbol(FTok, ']')) break;
                if (!IsSymbol(FTok, ',')) Fail("',' or ']' expected in a set but found " + Describe(FTok));
                Advance();
            }
        }
        Advance();
        return Set;
    }
    Fail("value expected for " + TFormLexer::Quote(PropName) + " but found " + Describe(FTok));
}

void TReader::BindEvent(TComponent& Component, const TClassInfo& Class, const std::string& PropName,
                        const TPropInfo& Prop, const TValue& Value, int Line)
{
    const auto* Ident = std::get_if<TIdent>(&Value);
    if (!Ident) TFormLexer::Fail(Line, "handler name expected for " + TFormLexer::Quote(PropName));
    auto It = FHandlerNames.find(UpperCase(Ident->Name));
    if (It == FHandlerNames.end()) TFormLexer::Fail(Line, "unknown handler " + TFormLexer::Quote(Ident->Name));
    const std::string& HandlerName = *It->second;
    bool Fits = false;
    AtLine(Line, PropName + ": ", [&] { Fits = Prop.SetEvent(Component, FBindings.Handlers.at(HandlerName)); });
    if (!Fits)
        TFormLexer::Fail(Line, "handler " + TFormLexer::Quote(HandlerName) + " does not fit " + PropName);

    std::string Canonical = CanonicalPropertyName(Class, PropName);
    for (auto& Binding : Component.EventBindings)
        if (Binding.first == Canonical) {
            Binding.second = HandlerName;
            return;
        }
    Component.EventBindings.emplace_back(Canonical, HandlerName);
}

void TReader::Undo() noexcept
{
    for (const auto* Field : FBoundFields) {
        try {
            (*Field)(nullptr);
        } catch (...) {
        }
    }
    for (auto It = FCreated.rbegin(); It != FCreated.rend(); ++It) delete *It;
    FCreated.clear();
    try {
        FRoot.SetName(FOldRootName);
    } catch (...) {
    }
    FRoot.EventBindings = FOldRootBindings;
}

} // namespace

void ReadComponentRes(TComponent& Root, std::string_view Text, const TFormBindings& Bindings)
{
    TReader Reader(Root, Text, Bindings);
    try {
        Reader.Read();
    } catch (...) {
        Reader.Undo();
        throw;
    }
}

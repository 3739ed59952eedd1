#include "platform/toolkit/resources/FormReader.h"

#include <unordered_map>
#include <unordered_set>
#include <variant>
#include <vector>

#include "platform/toolkit/WinControl.h"
#include "platform/toolkit/resources/FormLexer.h"

namespace {

// Deep enough for any real form, shallow enough that the recursive descent is safe.
constexpr int MaxDepth = 64;

// A value as written: an integer, a string, an identifier or a set of identifiers.
struct TIdent {
    std::string Name;
};
struct TSetValue {
    std::vector<std::string> Members;
};
using TValue = std::variant<int64_t, std::string, TIdent, TSetValue>;

bool IsWord(const TFormToken& T, std::string_view Word)
{
    return T.Kind == TFormTokenKind::Identifier && SameText(T.Text, Word);
}

bool IsSymbol(const TFormToken& T, char C) { return T.Kind == TFormTokenKind::Symbol && T.Symbol == C; }

std::string Describe(const TFormToken& T)
{
    return T.Kind == TFormTokenKind::EndOfText ? "end of text" : TFormLexer::Quote(T.Text);
}

// Sets Prop of Instance from a value of the kind its type takes; raises with a message
// that the reader prefixes with the line and the property.
void Assign(TPersistent& Instance, const TPropInfo& Prop, const TValue& Value)
{
    const TTypeInfo& Type = *Prop.PropType;
    switch (Type.Kind) {
    case TTypeKind::String: {
        const auto* S = std::get_if<std::string>(&Value);
        if (!S) throw EPropertyError("a quoted string was expected");
        SetStrProp(Instance, Prop, *S);
        return;
    }
    case TTypeKind::Integer:
    case TTypeKind::Int64: {
        // What the type's values are written as, for a refusal.
        const std::string Forms = Type.ValueForms ? std::string(": write ") + Type.ValueForms : std::string();
        int64_t V = 0;
        if (const auto* I = std::get_if<int64_t>(&Value)) {
            V = *I;
            if (Type.IsValue && V >= Prop.MinValue && V <= Prop.MaxValue && !Type.IsValue(V))
                throw EPropertyError(TFormLexer::Quote(Type.IntToText ? Type.IntToText(V) : std::to_string(V)) +
                                     " is not a valid " + Type.Name + Forms);
        } else if (const auto* Id = std::get_if<TIdent>(&Value); Id && Type.IdentToInt) {
            if (!Type.IdentToInt(Id->Name, V))
                throw EPropertyError(TFormLexer::Quote(Id->Name) + " is not a valid " + Type.Name + Forms);
        } else {
            throw EPropertyError(Type.IdentToInt ? "an integer or a name was expected" : "an integer was expected");
        }
        SetOrdProp(Instance, Prop, V);
        return;
    }
    case TTypeKind::Enumeration: {
        const auto* Id = std::get_if<TIdent>(&Value);
        if (!Id) throw EPropertyError("an identifier was expected");
        const int64_t V = GetEnumValue(Type, Id->Name);
        if (V < 0) throw EPropertyError(TFormLexer::Quote(Id->Name) + " is not a valid value");
        SetOrdProp(Instance, Prop, V);
        return;
    }
    case TTypeKind::Set: {
        const auto* S = std::get_if<TSetValue>(&Value);
        if (!S) throw EPropertyError("a set in brackets was expected");
        SetOrdProp(Instance, Prop, SetMemberBits(Type, S->Members));
        return;
    }
    case TTypeKind::Class:
        throw EPropertyError("an object takes its properties one by one (" + Prop.Name + ".Name = …)");
    case TTypeKind::Method: break; // bound by the reader, which knows the handlers
    }
}

// One read: a recursive descent over the tokens that builds the components as it goes
// and remembers everything it did, so that a failure can undo it.
class TReader {
public:
    TReader(TComponent& Root, std::string_view Text, const TFormBindings& Bindings, TBoundEvents* Events);
    void Read();
    void Undo() noexcept;

private:
    void Advance() { FTok = FLexer.Next(); }
    [[noreturn]] void Fail(const std::string& Message) const { TFormLexer::Fail(FTok.Line, Message); }
    std::string ExpectIdentifier(const std::string& What);
    void ReadHeader(std::string& Name, std::string& ClassName);
    void ReadBody(TComponent& Component, int Depth);
    void ReadChild(TComponent& Enclosing, int Depth);
    void ReadProperty(TPersistent& Root, const std::string& Owner);
    void ReadCollection(TCollection& Items, const std::string& Path);
    TValue ReadValue(const std::string& PropName);
    void BindEvent(TPersistent& Instance, const TPropInfo& Prop, const TValue& Value, int Line);
    void OfferToField(TComponent& Component, int Line);
    void SetRootName(const std::string& Name);
    template <typename F>
    void AtLine(int Line, const std::string& Context, F&& Action);

    TComponent& FRoot;
    TFormLexer FLexer;
    TFormToken FTok;
    const TFormBindings& FBindings;
    TBoundEvents* FEvents;
    size_t FOldEventCount;
    std::unordered_map<std::string, const std::string*> FHandlerNames; // upper case -> key
    std::unordered_map<std::string, const std::function<bool(TComponent*)>*> FFields;
    std::vector<const std::function<bool(TComponent*)>*> FBoundFields;
    std::vector<TComponent*> FCreated;       // in creation order
    std::vector<TComponent*> FLoadOrder;     // children before their enclosing object
    std::string FOldRootName;
    // The root's properties as they were before the read first set each, to put back.
    std::vector<TPropertySnapshot> FRootValues;
    std::unordered_set<const TPropInfo*> FRootTouched;
};

TReader::TReader(TComponent& Root, std::string_view Text, const TFormBindings& Bindings, TBoundEvents* Events)
    : FRoot(Root), FLexer(Text), FBindings(Bindings), FEvents(Events), FOldEventCount(Events ? Events->size() : 0),
      FOldRootName(Root.Name())
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
    SetRootName(Name);

    ReadBody(FRoot, 1);
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

void TReader::ReadBody(TComponent& Component, int Depth)
{
    for (;;) {
        if (IsWord(FTok, "end")) {
            Advance();
            return;
        }
        if (IsWord(FTok, "object"))
            ReadChild(Component, Depth + 1);
        else if (FTok.Kind == TFormTokenKind::Identifier)
            ReadProperty(Component, "");
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
    if (!Class->CreateComponent)
        TFormLexer::Fail(Line, "class " + TFormLexer::Quote(ClassName) + " cannot be created here");
    // The root's own name is taken too: every name it holds must find one component.
    if (!Name.empty() && (SameText(Name, FRoot.Name()) || FRoot.FindComponent(Name)))
        TFormLexer::Fail(Line, "duplicate component name " + TFormLexer::Quote(Name));

    TComponent* Component = nullptr;
    AtLine(Line, "", [&] { Component = Class->CreateComponent(&FRoot); });
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

    ReadBody(*Component, Depth);
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

// "Name = value", where Name may lead through sub-objects (Font.Height), and a collection
// takes "< item … end … >". Owner names Instance in messages when it is not a component.
void TReader::ReadProperty(TPersistent& Root, const std::string& Owner)
{
    int Line = FTok.Line;
    TPersistent* Instance = &Root;
    std::string Path(FTok.Text);
    const TPropInfo* Prop = Root.ClassInfo().FindProperty(FTok.Text);
    const TPropInfo* FirstProp = Prop;
    Advance();
    auto Unknown = [&] {
        TFormLexer::Fail(Line, "unknown property " + TFormLexer::Quote(Path) + " of " +
                                   (Owner.empty() ? Root.ClassName() : Owner));
    };
    while (IsSymbol(FTok, '.')) {
        Advance();
        std::string Sub = ExpectIdentifier("property name after '.'");
        if (Prop && Prop->Kind() == TTypeKind::Class) {
            AtLine(Line, Path + ": ", [&] { Instance = GetObjectProp(*Instance, *Prop); });
            Prop = Instance ? Instance->ClassInfo().FindProperty(Sub) : nullptr;
        } else {
            Prop = nullptr;
        }
        Path += "." + Sub;
    }
    if (!Prop) Unknown();
    if (&Root == &FRoot && FRootTouched.insert(FirstProp).second) FRootValues.emplace_back(FRoot, FirstProp);
    if (!IsSymbol(FTok, '=')) Fail("'=' expected after " + TFormLexer::Quote(Path) + " but found " + Describe(FTok));
    Advance();
    if (IsSymbol(FTok, '<')) {
        TCollection* Items = nullptr;
        if (Prop->Kind() == TTypeKind::Class)
            AtLine(Line, Path + ": ", [&] { Items = dynamic_cast<TCollection*>(GetObjectProp(*Instance, *Prop)); });
        if (!Items) TFormLexer::Fail(Line, Path + ": items in '<' '>' are for collections only");
        ReadCollection(*Items, Path);
        return;
    }
    TValue Value = ReadValue(Path);

    if (Prop->Kind() == TTypeKind::Method)
        BindEvent(*Instance, *Prop, Value, Line);
    else if (Prop->ReadOnly())
        TFormLexer::Fail(Line, "property " + TFormLexer::Quote(Path) + " cannot be set");
    else
        AtLine(Line, Path + ": ", [&] { Assign(*Instance, *Prop, Value); });
}

// "< item … end item … end >": the collection's items, replacing what it held.
void TReader::ReadCollection(TCollection& Items, const std::string& Path)
{
    Advance();
    Items.Clear();
    while (IsWord(FTok, "item")) {
        Advance();
        TCollectionItem* Item = Items.Add();
        const std::string Name = Path + "[" + std::to_string(Items.Count() - 1) + "]";
        while (!IsWord(FTok, "end")) {
            if (FTok.Kind != TFormTokenKind::Identifier) Fail("'end' expected but found " + Describe(FTok));
            ReadProperty(*Item, Name);
        }
        Advance();
    }
    if (!IsSymbol(FTok, '>')) Fail("'item' or '>' expected in " + TFormLexer::Quote(Path) + " but found " + Describe(FTok));
    Advance();
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

void TReader::BindEvent(TPersistent& Instance, const TPropInfo& Prop, const TValue& Value, int Line)
{
    const auto* Ident = std::get_if<TIdent>(&Value);
    if (!Ident) TFormLexer::Fail(Line, "handler name expected for " + TFormLexer::Quote(Prop.Name));
    auto It = FHandlerNames.find(UpperCase(Ident->Name));
    if (It == FHandlerNames.end()) TFormLexer::Fail(Line, "unknown handler " + TFormLexer::Quote(Ident->Name));
    const std::string& HandlerName = *It->second;
    bool Fits = false;
    AtLine(Line, Prop.Name + ": ",
           [&] { Fits = SetMethodProp(Instance, Prop, FBindings.Handlers.at(HandlerName)); });
    if (!Fits) TFormLexer::Fail(Line, "handler " + TFormLexer::Quote(HandlerName) + " does not fit " + Prop.Name);
    if (!FEvents) return;
    for (TBoundEvent& E : *FEvents)
        if (E.Instance == &Instance && E.Property == Prop.Name) {
            E.Handler = HandlerName;
            return;
        }
    FEvents->push_back({&Instance, Prop.Name, HandlerName});
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
    for (auto It = FRootValues.rbegin(); It != FRootValues.rend(); ++It) It->Restore(FRoot);
    if (FEvents) FEvents->resize(FOldEventCount);
}

} // namespace

void ReadComponentRes(TComponent& Root, std::string_view Text, const TFormBindings& Bindings, TBoundEvents* Events)
{
    TReader Reader(Root, Text, Bindings, Events);
    try {
        Reader.Read();
    } catch (...) {
        Reader.Undo();
        throw;
    }
}

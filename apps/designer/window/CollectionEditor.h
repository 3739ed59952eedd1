#pragma once
// The collection editor: a small modal form ("CollectionEditor") with a collection's
// items in order ("Items": "0 - Cheese", an item's Caption, else its class) and the
// buttons "Add", "Delete", "MoveUp", "MoveDown" and "Close". Each button is one
// operation of the document, and so one undo step; Delete and the moves act on the item
// chosen in the list, and Add chooses the new one. Choosing an item selects it in the
// designer, so that the inspector shows it.

#include <string>

class TCollection;
class TPageDocument;

// Edits Collection, one that a component of Document's page publishes, found at Path
// ("SpinnerFilling.Slots"), until Close, Escape or closing the window.
void EditCollection(TPageDocument& Document, TCollection& Collection, const std::string& Path);

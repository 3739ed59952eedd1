#pragma once
// The box a list's Items are edited in, one item a line. Scripts address its parts as
// "Lines" (the text box), "OK" and "Cancel"; the form is "ListItems".

#include <string>

// The separator of a list's items in its Items text.
constexpr char ListItemSeparator = '|';

// Shows Items (texts separated by '|') one a line in a box titled Caption. After OK:
// true, with Items the lines joined by '|' (a last empty line, after a final line break,
// adds no item). A line that holds '|' is refused by a message naming it, and the box
// stays open with the text as typed. False, with Items as it was, after Cancel, Escape,
// closing the box, or OK on the text as it was shown.
bool EditListItems(const std::string& Caption, std::string& Items);

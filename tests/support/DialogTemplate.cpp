#include "tests/support/DialogTemplate.h"

#include <gtest/gtest.h>

#include <cstring>

namespace
{
class Reader
{
public:
    explicit Reader(const BYTE* data) : position(data) {}

    WORD Word() { return Read<WORD>(); }
    DWORD Dword() { return Read<DWORD>(); }
    short Short() { return Read<short>(); }
    BYTE Byte() { return Read<BYTE>(); }

    std::string String()
    {
        std::string text;
        for (WORD c = Word(); c != 0; c = Word())
            text += c < 0x80 ? static_cast<char>(c) : '?';
        return text;
    }

    // A name or an ordinal ("#<n>"); empty when neither is given.
    std::string NameOrOrdinal()
    {
        WORD first;
        std::memcpy(&first, position, sizeof(first));
        if (first == 0x0000)
        {
            position += 2;
            return std::string();
        }
        if (first == 0xFFFF)
        {
            position += 2;
            return "#" + std::to_string(Word());
        }
        return String();
    }

    void AlignToDword(const BYTE* base)
    {
        while ((position - base) % 4 != 0)
            ++position;
    }
    void Skip(size_t count) { position += count; }

private:
    template <typename T> T Read()
    {
        T value;
        std::memcpy(&value, position, sizeof(T));
        position += sizeof(T);
        return value;
    }

    const BYTE* position;
};

std::string PredefinedClass(const std::string& name)
{
    static const char* const kNames[] = {"Button", "Edit", "Static", "ListBox", "ScrollBar",
                                         "ComboBox"};
    if (name.size() > 1 && name[0] == '#')
    {
        const int atom = std::stoi(name.substr(1));
        if (atom >= 0x80 && atom <= 0x85)
            return kNames[atom - 0x80];
    }
    return name;
}
} // namespace

bool LoadDialogTemplate(UINT id, DialogTemplate& dialog)
{
    HMODULE module = ::GetModuleHandleA(nullptr);
    HRSRC resource = ::FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(5) /* RT_DIALOG */);
    if (resource == nullptr)
        return false;
    const BYTE* base = static_cast<const BYTE*>(::LockResource(::LoadResource(module, resource)));
    if (base == nullptr)
        return false;

    Reader reader(base);
    if (reader.Word() != 1 || reader.Word() != 0xFFFF)
        return false;
    reader.Dword();  // help id
    dialog.exStyle = reader.Dword();
    dialog.style = reader.Dword();
    const WORD count = reader.Word();
    dialog.x = reader.Short();
    dialog.y = reader.Short();
    dialog.cx = reader.Short();
    dialog.cy = reader.Short();
    reader.NameOrOrdinal();  // menu
    reader.NameOrOrdinal();  // class
    dialog.caption = reader.String();
    if (dialog.style & (DS_SETFONT | DS_SHELLFONT))
    {
        dialog.pointSize = reader.Word();
        reader.Word();  // weight
        reader.Byte();  // italic
        reader.Byte();  // character set
        dialog.typeface = reader.String();
    }

    for (WORD i = 0; i < count; ++i)
    {
        reader.AlignToDword(base);
        TemplateItem item;
        reader.Dword();  // help id
        item.exStyle = reader.Dword();
        item.style = reader.Dword();
        item.x = reader.Short();
        item.y = reader.Short();
        item.cx = reader.Short();
        item.cy = reader.Short();
        item.id = static_cast<int>(reader.Dword());
        if (item.id == 0xFFFF)
            item.id = -1;
        item.className = PredefinedClass(reader.NameOrOrdinal());
        item.text = reader.NameOrOrdinal();
        reader.Skip(reader.Word());
        dialog.items.push_back(item);
    }
    return true;
}

void ExpectTemplateItems(const DialogTemplate& dialog, const std::vector<TemplateItem>& expected)
{
    ASSERT_EQ(expected.size(), dialog.items.size());
    for (size_t i = 0; i < expected.size(); ++i)
    {
        const TemplateItem& item = dialog.items[i];
        const TemplateItem& want = expected[i];
        const std::string where = "item " + std::to_string(i) + " (\"" + want.text + "\")";
        EXPECT_EQ(want.id, item.id) << where;
        EXPECT_EQ(0, _stricmp(want.className.c_str(), item.className.c_str()))
            << where << ": " << item.className;
        EXPECT_EQ(want.text, item.text) << where;
        EXPECT_EQ(want.x, item.x) << where;
        EXPECT_EQ(want.y, item.y) << where;
        EXPECT_EQ(want.cx, item.cx) << where;
        EXPECT_EQ(want.cy, item.cy) << where;
        EXPECT_EQ(want.style, item.style) << where;
        EXPECT_EQ(want.exStyle, item.exStyle) << where;
    }
}

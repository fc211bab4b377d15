#include "PropertySchema.h"

#include "UnsupportedOperationException.h"

#include <string>

namespace platform {

namespace {

using enum PropertyType;
using D = PropertySchema::Declared;

constexpr D controlProperties[] = {
    { "Name", String }, { "Index", Int32 }, { "TabPanelIndex", Int32 },
};

constexpr D rectControlProperties[] = {
    { "Left", Int32 },         { "Top", Int32 },      { "Width", Int32 },           { "Height", Int32 },
    { "TabIndex", Int32 },     { "LockLeft", Boolean }, { "LockTop", Boolean },     { "LockRight", Boolean },
    { "LockBottom", Boolean }, { "TabStop", Boolean }, { "Enabled", Boolean },      { "Visible", Boolean },
    { "AutoDeactivate", Boolean }, { "HelpTag", String }, { "InitialParent", String },
};

constexpr D pushButtonProperties[] = {
    { "Caption", String }, { "TextFont", String },  { "Default", Boolean },   { "Cancel", Boolean },
    { "Bold", Boolean },   { "Italic", Boolean },   { "Underline", Boolean },
};

constexpr D textEditProperties[] = {
    { "TextFont", String },      { "Format", String },       { "Text", String },       { "Mask", String },
    { "DataSource", String },    { "DataField", String },    { "Border", Boolean },    { "UseFocusRing", Boolean },
    { "Bold", Boolean },         { "Italic", Boolean },      { "Underline", Boolean }, { "ReadOnly", Boolean },
    { "AcceptTabs", Boolean },   { "TextColor", Color },     { "BackColor", Color },   { "Alignment", Int32 },
};

constexpr D textFieldProperties[] = {
    { "Password", Boolean }, { "CueText", String }, { "LimitText", Int32 },
};

constexpr D staticTextProperties[] = {
    { "Text", String },        { "TextFont", String },    { "DataSource", String }, { "DataField", String },
    { "TextAlign", Int32 },    { "TextColor", Color },    { "MultiLine", Boolean, "Multiline" },
    { "Bold", Boolean },       { "Italic", Boolean },     { "Underline", Boolean },
};

constexpr D popupMenuProperties[] = {
    { "InitialValue", String }, { "TextFont", String }, { "DataSource", String }, { "DataField", String },
    { "ListIndex", Int32 },     { "Bold", Boolean },    { "Italic", Boolean },    { "Underline", Boolean },
};

constexpr D windowProperties[] = {
    { "Placement", Int32 },        { "Width", Int32 },         { "Height", Int32 },
    { "MinWidth", Int32 },         { "MinHeight", Int32 },     { "MaxWidth", Int32 },
    { "MaxHeight", Int32 },        { "Frame", Int32 },         { "MacProcId", Int32, "MacProcID" },
    { "Composite", Boolean },      { "HasBackColor", Boolean }, { "Visible", Boolean },
    { "FullScreen", Boolean },     { "MenuBarVisible", Boolean }, { "CloseButton", Boolean },
    { "Resizeable", Boolean },     { "LiveResize", Boolean },  { "MaximizeButton", Boolean },
    { "MinimizeButton", Boolean }, { "BackColor", Color },     { "Title", String },
};

constexpr PropertySchema control("Control", nullptr, controlProperties);
constexpr PropertySchema rectControl("RectControl", &control, rectControlProperties);
constexpr PropertySchema pushButton("PushButton", &rectControl, pushButtonProperties);
constexpr PropertySchema textEdit("TextEdit", &rectControl, textEditProperties);
constexpr PropertySchema textField("TextField", &textEdit, textFieldProperties);
constexpr PropertySchema staticText("StaticText", &rectControl, staticTextProperties);
constexpr PropertySchema popupMenu("PopupMenu", &rectControl, popupMenuProperties);
constexpr PropertySchema window("Window", nullptr, windowProperties);

constexpr const PropertySchema* registry[] = {
    &window, &control, &rectControl, &pushButton, &textEdit, &textField, &staticText, &popupMenu,
};

}

const PropertySchema* PropertySchema::tryForClass(std::string_view className) noexcept
{
    for (const PropertySchema* schema : registry) {
        if (schema->className() == className)
            return schema;
    }
    return nullptr;
}

const PropertySchema& PropertySchema::forClass(std::string_view className)
{
    if (const PropertySchema* schema = tryForClass(className))
        return *schema;
    throw UnsupportedOperationException("class " + std::string(className) + " takes no property strings");
}

std::span<const PropertySchema* const> PropertySchema::all() noexcept
{
    return registry;
}

std::optional<PropertyInfo> PropertySchema::find(std::string_view entryName) const noexcept
{
    for (const PropertySchema* schema = this; schema; schema = schema->m_parent) {
        for (const Declared& property : schema->m_declared) {
            if (property.name == entryName)
                return PropertyInfo { property.name, property.name, property.type, schema->m_className };
            if (!property.alias.empty() && property.alias == entryName)
                return PropertyInfo { property.name, property.alias, property.type, schema->m_className };
        }
    }
    return std::nullopt;
}

std::vector<PropertyInfo> PropertySchema::entryNames() const
{
    std::vector<PropertyInfo> names;
    for (const PropertySchema* schema = this; schema; schema = schema->m_parent) {
        for (const Declared& property : schema->m_declared) {
            names.push_back({ property.name, property.name, property.type, schema->m_className });
            if (!property.alias.empty())
                names.push_back({ property.name, property.alias, property.type, schema->m_className });
        }
    }
    return names;
}

}

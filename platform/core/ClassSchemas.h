#pragma once

#include "PropertySchema.h"

// What a property string may name on each class of the framework, and how each value is read: one
// table per class, beyond its parent's. The classes' own property rows in the UI bind these names to
// accessors and ranges, and are checked against these tables when first built.

namespace platform {

// Any control.
inline constexpr PropertySchema::Declared controlProperties[] = {
    { "Name", PropertyType::String },
    { "Index", PropertyType::Int32 },
    { "TabPanelIndex", PropertyType::Int32 },
};

inline constexpr PropertySchema controlSchema("Control", nullptr, controlProperties);

// A control with a rectangle, beyond a Control's.
inline constexpr PropertySchema::Declared rectControlProperties[] = {
    { "Left", PropertyType::Int32 },
    { "Top", PropertyType::Int32 },
    { "Width", PropertyType::Int32 },
    { "Height", PropertyType::Int32 },
    { "TabIndex", PropertyType::Int32 },
    { "LockLeft", PropertyType::Boolean },
    { "LockTop", PropertyType::Boolean },
    { "LockRight", PropertyType::Boolean },
    { "LockBottom", PropertyType::Boolean },
    { "TabStop", PropertyType::Boolean },
    { "Enabled", PropertyType::Boolean },
    { "Visible", PropertyType::Boolean },
    { "AutoDeactivate", PropertyType::Boolean },
    { "HelpTag", PropertyType::String },
    { "InitialParent", PropertyType::String },
};

inline constexpr PropertySchema rectControlSchema("RectControl", &controlSchema, rectControlProperties);

// A push button, beyond a RectControl's.
inline constexpr PropertySchema::Declared pushButtonProperties[] = {
    { "Caption", PropertyType::String },
    { "TextFont", PropertyType::String },
    { "Default", PropertyType::Boolean },
    { "Cancel", PropertyType::Boolean },
    { "Bold", PropertyType::Boolean },
    { "Italic", PropertyType::Boolean },
    { "Underline", PropertyType::Boolean },
};

inline constexpr PropertySchema pushButtonSchema("PushButton", &rectControlSchema, pushButtonProperties);

// An editable text, beyond a RectControl's.
inline constexpr PropertySchema::Declared textEditProperties[] = {
    { "TextFont", PropertyType::String },
    { "Format", PropertyType::String },
    { "Text", PropertyType::String },
    { "Mask", PropertyType::String },
    { "DataSource", PropertyType::String },
    { "DataField", PropertyType::String },
    { "Border", PropertyType::Boolean },
    { "UseFocusRing", PropertyType::Boolean },
    { "Bold", PropertyType::Boolean },
    { "Italic", PropertyType::Boolean },
    { "Underline", PropertyType::Boolean },
    { "ReadOnly", PropertyType::Boolean },
    { "AcceptTabs", PropertyType::Boolean },
    { "TextColor", PropertyType::Color },
    { "BackColor", PropertyType::Color },
    { "Alignment", PropertyType::Int32 },
};

inline constexpr PropertySchema textEditSchema("TextEdit", &rectControlSchema, textEditProperties);

// A one-line text field, beyond a TextEdit's.
inline constexpr PropertySchema::Declared textFieldProperties[] = {
    { "Password", PropertyType::Boolean },
    { "CueText", PropertyType::String },
    { "LimitText", PropertyType::Int32 },
};

inline constexpr PropertySchema textFieldSchema("TextField", &textEditSchema, textFieldProperties);

// A label, beyond a RectControl's.
inline constexpr PropertySchema::Declared staticTextProperties[] = {
    { "Text", PropertyType::String },
    { "TextFont", PropertyType::String },
    { "DataSource", PropertyType::String },
    { "DataField", PropertyType::String },
    { "TextAlign", PropertyType::Int32 },
    { "TextColor", PropertyType::Color },
    { "MultiLine", PropertyType::Boolean, "Multiline" },
    { "Bold", PropertyType::Boolean },
    { "Italic", PropertyType::Boolean },
    { "Underline", PropertyType::Boolean },
};

inline constexpr PropertySchema staticTextSchema("StaticText", &rectControlSchema, staticTextProperties);

// A popup menu, beyond a RectControl's.
inline constexpr PropertySchema::Declared popupMenuProperties[] = {
    { "InitialValue", PropertyType::String },
    { "TextFont", PropertyType::String },
    { "DataSource", PropertyType::String },
    { "DataField", PropertyType::String },
    { "ListIndex", PropertyType::Int32 },
    { "Bold", PropertyType::Boolean },
    { "Italic", PropertyType::Boolean },
    { "Underline", PropertyType::Boolean },
};

inline constexpr PropertySchema popupMenuSchema("PopupMenu", &rectControlSchema, popupMenuProperties);

// A window.
inline constexpr PropertySchema::Declared windowProperties[] = {
    { "Placement", PropertyType::Int32 },
    { "Width", PropertyType::Int32 },
    { "Height", PropertyType::Int32 },
    { "MinWidth", PropertyType::Int32 },
    { "MinHeight", PropertyType::Int32 },
    { "MaxWidth", PropertyType::Int32 },
    { "MaxHeight", PropertyType::Int32 },
    { "Frame", PropertyType::Int32 },
    { "MacProcId", PropertyType::Int32, "MacProcID" },
    { "Composite", PropertyType::Boolean },
    { "HasBackColor", PropertyType::Boolean },
    { "Visible", PropertyType::Boolean },
    { "FullScreen", PropertyType::Boolean },
    { "MenuBarVisible", PropertyType::Boolean },
    { "CloseButton", PropertyType::Boolean },
    { "Resizeable", PropertyType::Boolean },
    { "LiveResize", PropertyType::Boolean },
    { "MaximizeButton", PropertyType::Boolean },
    { "MinimizeButton", PropertyType::Boolean },
    { "BackColor", PropertyType::Color },
    { "Title", PropertyType::String },
};

inline constexpr PropertySchema windowSchema("Window", nullptr, windowProperties);

}

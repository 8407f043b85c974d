#include "linux/gtk/accessible_controls.h"

#include <gtk/gtk-a11y.h>

#include <cmath>
#include <utility>

#include "linux/gtk/skin_painting.h"
#include "util/translate.h"

namespace taviro::gtk {
namespace {

constexpr char kHooksKey[] = "taviro-control-hooks";
constexpr char kActionName[] = "click";
constexpr char kActionLocalName[] = "按下";

const ControlHooks* HooksOf(GtkWidget* widget) {
  if (widget == nullptr) {
    return nullptr;
  }
  return static_cast<const ControlHooks*>(g_object_get_data(G_OBJECT(widget), kHooksKey));
}

GtkWidget* WidgetOf(gpointer accessible) { return gtk_accessible_get_widget(GTK_ACCESSIBLE(accessible)); }

ControlDescription DescriptionOf(gpointer accessible) {
  const ControlHooks* hooks = HooksOf(WidgetOf(accessible));
  return hooks != nullptr && hooks->describe ? hooks->describe() : ControlDescription{};
}

AtkRole AtkRoleOf(ControlRole role) {
  switch (role) {
    case ControlRole::kPushButton: return ATK_ROLE_PUSH_BUTTON;
    case ControlRole::kToggleButton: return ATK_ROLE_TOGGLE_BUTTON;
    case ControlRole::kPageTab: return ATK_ROLE_PAGE_TAB;
    case ControlRole::kSlider: return ATK_ROLE_SLIDER;
    case ControlRole::kNone: break;
  }
  return ATK_ROLE_UNKNOWN;
}

void AddControlStates(AtkStateSet* set, const ControlDescription& control) {
  switch (control.role) {
    case ControlRole::kToggleButton:
      atk_state_set_add_state(set, ATK_STATE_CHECKABLE);
      if (control.on) {
        atk_state_set_add_state(set, ATK_STATE_CHECKED);
        atk_state_set_add_state(set, ATK_STATE_PRESSED);
      }
      break;
    case ControlRole::kPageTab:
      atk_state_set_add_state(set, ATK_STATE_SELECTABLE);
      if (control.on) {
        atk_state_set_add_state(set, ATK_STATE_SELECTED);
      }
      break;
    case ControlRole::kSlider: atk_state_set_add_state(set, ATK_STATE_HORIZONTAL); break;
    case ControlRole::kPushButton:
    case ControlRole::kNone: break;
  }
}

// The action runs from the main loop, as a click would, not inside the
// assistive technology's request.
gboolean RunAction(gpointer data) {
  const ControlHooks* hooks = HooksOf(GTK_WIDGET(data));
  if (hooks != nullptr && hooks->activate) {
    hooks->activate();
  }
  return G_SOURCE_REMOVE;
}

gboolean DoAction(AtkAction* action, gint index) {
  GtkWidget* widget = WidgetOf(action);
  if (index != 0 || widget == nullptr || !gtk_widget_is_sensitive(widget) ||
      !gtk_widget_get_visible(widget)) {
    return FALSE;
  }
  g_idle_add_full(G_PRIORITY_DEFAULT_IDLE, RunAction, g_object_ref(widget), g_object_unref);
  return TRUE;
}

gint ActionCount(AtkAction* /*action*/) { return 1; }

const gchar* ActionName(AtkAction* /*action*/, gint index) { return index == 0 ? kActionName : nullptr; }

const gchar* ActionLocalName(AtkAction* /*action*/, gint index) {
  return index == 0 ? kActionLocalName : nullptr;
}

void InitAction(AtkActionIface* iface) {
  iface->do_action = DoAction;
  iface->get_n_actions = ActionCount;
  iface->get_name = ActionName;
  iface->get_localized_name = ActionLocalName;
  iface->get_description = ActionLocalName;
}

void ValueAndText(AtkValue* value, gdouble* current, gchar** text) {
  const ControlDescription control = DescriptionOf(value);
  if (current != nullptr) {
    *current = control.value;
  }
  if (text != nullptr) {
    *text = g_strdup(control.value_text.c_str());
  }
}

AtkRange* ValueRange(AtkValue* value) { return atk_range_new(0, DescriptionOf(value).maximum, nullptr); }

struct ValueRequest {
  GtkWidget* widget;  // a reference of its own
  int value;
};

gboolean RunSetValue(gpointer data) {
  const auto* request = static_cast<const ValueRequest*>(data);
  const ControlHooks* hooks = HooksOf(request->widget);
  if (hooks != nullptr && hooks->set_value) hooks->set_value(request->value);
  return G_SOURCE_REMOVE;
}

void FreeValueRequest(gpointer data) {
  auto* request = static_cast<ValueRequest*>(data);
  g_object_unref(request->widget);
  delete request;
}

// Whole seconds and whole percent: the value is rounded, then kept within
// the range by the rule that applies it.
void SetValue(AtkValue* value, gdouble wanted) {
  GtkWidget* widget = WidgetOf(value);
  if (widget == nullptr || !gtk_widget_is_sensitive(widget)) return;
  auto* request = new ValueRequest{GTK_WIDGET(g_object_ref(widget)), static_cast<int>(std::lround(wanted))};
  g_idle_add_full(G_PRIORITY_DEFAULT_IDLE, RunSetValue, request, FreeValueRequest);
}

void InitValue(AtkValueIface* iface) {
  iface->get_value_and_text = ValueAndText;
  iface->get_range = ValueRange;
  iface->set_value = SetValue;
}

// GObject's type macros cast in C's way.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wold-style-cast"

// Buttons and tabs: an action, and the pressed or selected state.
struct TaviroButtonAccessible {
  GtkWidgetAccessible parent;
};
struct TaviroButtonAccessibleClass {
  GtkWidgetAccessibleClass parent_class;
};
G_DEFINE_TYPE_WITH_CODE(TaviroButtonAccessible, taviro_button_accessible, GTK_TYPE_WIDGET_ACCESSIBLE,
                        G_IMPLEMENT_INTERFACE(ATK_TYPE_ACTION, InitAction))

AtkStateSet* ButtonStates(AtkObject* object) {
  AtkStateSet* set = ATK_OBJECT_CLASS(taviro_button_accessible_parent_class)->ref_state_set(object);
  AddControlStates(set, DescriptionOf(object));
  return set;
}

void taviro_button_accessible_init(TaviroButtonAccessible* /*self*/) {}
void taviro_button_accessible_class_init(TaviroButtonAccessibleClass* klass) {
  ATK_OBJECT_CLASS(klass)->ref_state_set = ButtonStates;
}

// A container that stands for one control: the widgets it holds (a label, a
// slider's parts) are no controls of their own and stay out of the tree.
gint NoChildren(AtkObject* /*object*/) { return 0; }
AtkObject* NoChild(AtkObject* /*object*/, gint /*index*/) { return nullptr; }

void HideChildren(gpointer klass) {
  ATK_OBJECT_CLASS(klass)->get_n_children = NoChildren;
  ATK_OBJECT_CLASS(klass)->ref_child = NoChild;
  GTK_CONTAINER_ACCESSIBLE_CLASS(klass)->add_gtk = nullptr;
  GTK_CONTAINER_ACCESSIBLE_CLASS(klass)->remove_gtk = nullptr;
}

// Event boxes that are buttons: a container's accessible, as GTK requires
// for a container, without its children.
struct TaviroBoxAccessible {
  GtkContainerAccessible parent;
};
struct TaviroBoxAccessibleClass {
  GtkContainerAccessibleClass parent_class;
};
G_DEFINE_TYPE_WITH_CODE(TaviroBoxAccessible, taviro_box_accessible, GTK_TYPE_CONTAINER_ACCESSIBLE,
                        G_IMPLEMENT_INTERFACE(ATK_TYPE_ACTION, InitAction))

AtkStateSet* BoxStates(AtkObject* object) {
  AtkStateSet* set = ATK_OBJECT_CLASS(taviro_box_accessible_parent_class)->ref_state_set(object);
  AddControlStates(set, DescriptionOf(object));
  return set;
}

void taviro_box_accessible_init(TaviroBoxAccessible* /*self*/) {}
void taviro_box_accessible_class_init(TaviroBoxAccessibleClass* klass) {
  ATK_OBJECT_CLASS(klass)->ref_state_set = BoxStates;
  HideChildren(klass);
}

// Sliders: a value.
struct TaviroSliderAccessible {
  GtkContainerAccessible parent;
};
struct TaviroSliderAccessibleClass {
  GtkContainerAccessibleClass parent_class;
};
G_DEFINE_TYPE_WITH_CODE(TaviroSliderAccessible, taviro_slider_accessible, GTK_TYPE_CONTAINER_ACCESSIBLE,
                        G_IMPLEMENT_INTERFACE(ATK_TYPE_VALUE, InitValue))

AtkStateSet* SliderStates(AtkObject* object) {
  AtkStateSet* set = ATK_OBJECT_CLASS(taviro_slider_accessible_parent_class)->ref_state_set(object);
  AddControlStates(set, DescriptionOf(object));
  return set;
}

void taviro_slider_accessible_init(TaviroSliderAccessible* /*self*/) {}
void taviro_slider_accessible_class_init(TaviroSliderAccessibleClass* klass) {
  ATK_OBJECT_CLASS(klass)->ref_state_set = SliderStates;
  HideChildren(klass);
}

struct TaviroControlArea {
  GtkDrawingArea parent;
};
struct TaviroControlAreaClass {
  GtkDrawingAreaClass parent_class;
};
G_DEFINE_TYPE(TaviroControlArea, taviro_control_area, GTK_TYPE_DRAWING_AREA)
void taviro_control_area_init(TaviroControlArea* /*self*/) {}
void taviro_control_area_class_init(TaviroControlAreaClass* klass) {
  gtk_widget_class_set_accessible_type(GTK_WIDGET_CLASS(klass), taviro_button_accessible_get_type());
}

struct TaviroControlBox {
  GtkEventBox parent;
};
struct TaviroControlBoxClass {
  GtkEventBoxClass parent_class;
};
G_DEFINE_TYPE(TaviroControlBox, taviro_control_box, GTK_TYPE_EVENT_BOX)
void taviro_control_box_init(TaviroControlBox* /*self*/) {}
void taviro_control_box_class_init(TaviroControlBoxClass* klass) {
  gtk_widget_class_set_accessible_type(GTK_WIDGET_CLASS(klass), taviro_box_accessible_get_type());
}

struct TaviroSliderPanel {
  GtkLayout parent;
};
struct TaviroSliderPanelClass {
  GtkLayoutClass parent_class;
};
G_DEFINE_TYPE(TaviroSliderPanel, taviro_slider_panel, GTK_TYPE_LAYOUT)
void taviro_slider_panel_init(TaviroSliderPanel* /*self*/) {}
void taviro_slider_panel_class_init(TaviroSliderPanelClass* klass) {
  gtk_widget_class_set_accessible_type(GTK_WIDGET_CLASS(klass), taviro_slider_accessible_get_type());
}

#pragma GCC diagnostic pop

void ForgetHooks(GtkWidget* widget, gpointer /*data*/) {
  g_object_set_data(G_OBJECT(widget), kHooksKey, nullptr);
}

void DeleteHooks(gpointer hooks) { delete static_cast<ControlHooks*>(hooks); }

}  // namespace

GtkWidget* NewControlArea() { return GTK_WIDGET(g_object_new(taviro_control_area_get_type(), nullptr)); }

GtkWidget* NewControlBox() { return GTK_WIDGET(g_object_new(taviro_control_box_get_type(), nullptr)); }

GtkWidget* NewSliderPanel() { return GTK_WIDGET(g_object_new(taviro_slider_panel_get_type(), nullptr)); }

void BindControl(GtkWidget* widget, ControlHooks hooks) {
  auto* owned = new ControlHooks(std::move(hooks));
  g_object_set_data_full(G_OBJECT(widget), kHooksKey, owned, DeleteHooks);
  // What the hooks reach may go with the widget's owner: nothing is asked
  // of them once the widget is being destroyed.
  g_signal_connect(widget, "destroy", G_CALLBACK(ForgetHooks), nullptr);
  const ControlDescription now = owned->describe ? owned->describe() : ControlDescription{};
  AtkObject* accessible = gtk_widget_get_accessible(widget);
  atk_object_set_role(accessible, AtkRoleOf(now.role));
  atk_object_set_name(accessible, Tr(now.name).c_str());
}

void NameProgram() {
  AtkObject* root = atk_get_root();
  if (root == nullptr) return;
  // GTK's root answers with the program's id (its Wayland app id and X11
  // class, which must stay) and takes no other name: its one object is made
  // to answer with the application's name instead.
  ATK_OBJECT_GET_CLASS(root)->get_name = [](AtkObject* /*root*/) { return g_get_application_name(); };
}

void AnnounceControl(GtkWidget* widget, const ControlDescription& before, const ControlDescription& now) {
  AtkObject* accessible = gtk_widget_get_accessible(widget);
  if (now.name != before.name) {
    atk_object_set_name(accessible, Tr(now.name).c_str());
  }
  if (now.on != before.on) {
    if (now.role == ControlRole::kPageTab) {
      atk_object_notify_state_change(accessible, ATK_STATE_SELECTED, now.on);
    } else {
      atk_object_notify_state_change(accessible, ATK_STATE_CHECKED, now.on);
      atk_object_notify_state_change(accessible, ATK_STATE_PRESSED, now.on);
    }
  }
  if (now.value != before.value || now.maximum != before.maximum) {
    g_object_notify(G_OBJECT(accessible), "accessible-value");
  }
}

void DrawFocusRing(GtkWidget* widget, cairo_t* cr, std::uint32_t outer, std::uint32_t inner) {
  const int width = gtk_widget_get_allocated_width(widget);
  const int height = gtk_widget_get_allocated_height(widget);
  if (!gtk_widget_has_visible_focus(widget) || width < 4 || height < 4) {
    return;
  }
  cairo_save(cr);
  cairo_set_line_width(cr, 1.0);
  SetRgb(cr, outer);
  cairo_rectangle(cr, 0.5, 0.5, width - 1.0, height - 1.0);
  cairo_stroke(cr);
  SetRgb(cr, inner);
  cairo_rectangle(cr, 1.5, 1.5, width - 3.0, height - 3.0);
  cairo_stroke(cr);
  cairo_restore(cr);
}

}  // namespace taviro::gtk

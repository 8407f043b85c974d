#pragma once

namespace taviro::gtk {

// Embedded frames (advertisements) must not reach the program's private
// links by script: `location=`, a form, a nested frame. The engine's
// navigation decision does not say which frame navigates, so the page
// itself is made to refuse: every document gets a content security policy
// whose frame-src (and, inside frames, form-action) lists only the schemes
// the engine shows. A frame's navigation is then checked against its
// parent's policy and stopped before it is offered to the program; the main
// frame's own navigations are not subject to frame-src and act as before.
// Navigating the top page from another origin's frame without a click is
// already refused by the engine, and new windows only ever reach the
// browser.
//
// A policy in a meta element counts only in the head, and only from when it
// is inserted: it goes in as soon as the parser has made the head. Our own
// world runs it, so the page cannot stop it; removing the element later does
// not lift a policy once applied.
inline constexpr const char* kFrameNavigationPolicyScript = R"js((function () {
  var shown = 'http: https: file: about: data: blob:';
  var policy = 'frame-src ' + shown;
  if (window !== window.top) {
    policy += '; form-action ' + shown;
  }
  function insert() {
    var head = document.head;
    if (!head) {
      return false;
    }
    var meta = document.createElement('meta');
    meta.httpEquiv = 'Content-Security-Policy';
    meta.content = policy;
    head.insertBefore(meta, head.firstChild);
    return true;
  }
  if (!insert()) {
    var watch = new MutationObserver(function () {
      if (insert()) {
        watch.disconnect();
      }
    });
    watch.observe(document, {childList: true, subtree: true});
  }
})();)js";

}  // namespace taviro::gtk

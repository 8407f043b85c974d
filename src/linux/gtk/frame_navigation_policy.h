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

// With a click, a frame of another origin may still send the whole page
// to a private link (`top.location = ...`), and the engine lets it. Every
// frame of every page is therefore sandboxed without top navigation: its
// owner element gets the sandbox attribute as soon as it is inserted, and
// again whenever the page changes it. The engine reads the attribute when
// the frame's document arrives, after this has run. Scripts, forms, popups
// (which only reach the browser) and the frame's own origin stay as they
// were.
inline constexpr const char* kFrameSandboxScript = R"js((function () {
  var allowed = 'allow-scripts allow-same-origin allow-forms allow-popups allow-popups-to-escape-sandbox';
  function seal(frame) {
    if (frame.getAttribute('sandbox') !== allowed) {
      frame.setAttribute('sandbox', allowed);
    }
  }
  function sealUnder(node) {
    if (node.nodeType !== 1) {
      return;
    }
    if (node.localName === 'iframe') {
      seal(node);
    }
    var frames = node.getElementsByTagName('iframe');
    for (var i = 0; i < frames.length; ++i) {
      seal(frames[i]);
    }
  }
  new MutationObserver(function (changes) {
    for (var i = 0; i < changes.length; ++i) {
      if (changes[i].type === 'attributes') {
        sealUnder(changes[i].target);
      }
      for (var j = 0; j < changes[i].addedNodes.length; ++j) {
        sealUnder(changes[i].addedNodes[j]);
      }
    }
  }).observe(document, {childList: true, subtree: true, attributes: true, attributeFilter: ['sandbox']});
})();)js";

}  // namespace taviro::gtk

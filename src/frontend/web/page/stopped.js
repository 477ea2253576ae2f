// @ts-check
// A page that cannot go on says so on the page, not only in the console: a
// frame that looks playable but answers nothing tells the player nothing.

/** @param {string} what @param {unknown} error */
export function sayStopped(what, error) {
  if (document.getElementById('stopped')) return;
  const note = document.createElement('p');
  note.id = 'stopped';
  note.setAttribute('role', 'alert');
  note.textContent = `${what}: ${error instanceof Error ? error.message : error}`;
  document.body.append(note);
}

// An error after the start (in a handler, or a promise nobody waits for).
export function sayLateErrors() {
  window.addEventListener('error', (event) => sayStopped('Tessaly stopped', event.error ?? event.message));
  window.addEventListener('unhandledrejection', (event) => sayStopped('Tessaly stopped', event.reason));
}

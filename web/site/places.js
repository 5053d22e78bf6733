// 場所 and 暦注: the place of the rising and setting times (the core's place list, or a
// latitude and longitude) and the 暦注 toggle, kept in the browser and checked on load.
import { $, el, store, status } from './shared.js';
import { state, redraw } from './month.js';
import { showYear } from './year.js';

const validCoords = (v) => v !== null && typeof v === 'object' && !Array.isArray(v) &&
  typeof v.lat === 'number' && typeof v.lon === 'number' &&
  Math.abs(v.lat) <= 90 && Math.abs(v.lon) <= 180;

// The stored settings, each checked: a bad one is dropped with a note.
export function loadSettings(places) {
  state.notes = store.load('notes', false, (v) => typeof v === 'boolean', '暦注の表示');
  const names = new Set(places.map((p) => p.name));
  state.place = store.load('place', '東京',
    (v) => (typeof v === 'string' && names.has(v)) || validCoords(v), '場所');
}

async function setPlace(place) {
  state.place = place;
  store.set('place', place);
  await redraw();
  // The year view lists the eclipses for the place.
  if (!$('view-year').hidden) {
    await showYear(Number($('year-only').value) || state.y);
  }
}

export function setUpSettings(places) {
  $('notes-toggle').checked = state.notes;
  $('notes-toggle').onchange = () => {
    state.notes = $('notes-toggle').checked;
    store.set('notes', state.notes);
    redraw();
  };
  const select = $('place-select');
  for (const p of places) {
    const o = el('option', null, p.name);
    o.value = p.name;
    select.appendChild(o);
  }
  const other = el('option', null, '緯度・経度…');
  other.value = '';
  select.appendChild(other);
  if (typeof state.place === 'string') {
    select.value = state.place;
  } else {
    select.value = '';
    $('place-coords').hidden = false;
    $('lat').value = state.place.lat;
    $('lon').value = state.place.lon;
  }
  select.onchange = () => {
    $('place-coords').hidden = select.value !== '';
    if (select.value) {
      setPlace(select.value);
    }
  };
  $('coords-set').onclick = () => {
    const lat = Number($('lat').value);
    const lon = Number($('lon').value);
    if ($('lat').value === '' || $('lon').value === '' || !validCoords({ lat, lon })) {
      status('緯度は-90〜90、経度は-180〜180の数で入れてください', true);
      return;
    }
    status('');
    setPlace({ lat, lon });
  };
}

// The page as an app: the install button where the browser offers one, the iOS hint (Safari
// has no install prompt: 共有 → ホーム画面に追加), and a new build's offer to reload.
import { $ } from './shared.js';

// 「新しい版があります」: the waiting worker takes over when asked, and the page reloads once
// it is in charge, so that the new build's files are read together.
function offerUpdate(worker) {
  const bar = $('update');
  bar.hidden = false;
  $('update-reload').onclick = () => {
    navigator.serviceWorker.addEventListener('controllerchange', () => location.reload());
    worker.postMessage('take-over');
  };
}

export function setUpInstall() {
  let offered = null;
  window.addEventListener('beforeinstallprompt', (ev) => {
    ev.preventDefault();
    offered = ev;
    $('install').hidden = false;
  });
  $('install').onclick = async () => {
    if (offered) {
      offered.prompt();
      await offered.userChoice.catch(() => null);
      offered = null;
    }
    $('install').hidden = true;
  };
  window.addEventListener('appinstalled', () => {
    $('install').hidden = true;
  });
  const ios = /iPhone|iPad|iPod/.test(navigator.userAgent) ||
    (navigator.platform === 'MacIntel' && navigator.maxTouchPoints > 1);
  if (ios && !navigator.standalone) {
    $('ios-hint').hidden = false;
  }
  $('ios-hint-close').onclick = () => {
    $('ios-hint').hidden = true;
  };
}

// The site kept for use without a network (sw.js). Called once the first month is drawn: the
// service worker's first install fetches every file of the site afresh, which would otherwise
// share the network with the page's own first load.
export function keepOffline() {
  if (!('serviceWorker' in navigator) || !location.protocol.startsWith('http')) {
    return;
  }
  navigator.serviceWorker.register('sw.js').then((reg) => {
    const watch = (worker) => {
      worker.addEventListener('statechange', () => {
        if (worker.state === 'installed' && navigator.serviceWorker.controller) {
          offerUpdate(worker);
        }
      });
    };
    if (reg.waiting && navigator.serviceWorker.controller) {
      offerUpdate(reg.waiting);
    }
    if (reg.installing) {
      watch(reg.installing);
    }
    reg.addEventListener('updatefound', () => watch(reg.installing));
  }).catch(() => { /* the page works without it */ });
}

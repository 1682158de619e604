}if(document.readyState==='loading'){document.addEventListener('DOMContentLoaded',run);}else{run();}})();

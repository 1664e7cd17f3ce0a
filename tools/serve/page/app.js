// The chart service's page: pick a template, drop a data text or a readings
// document, and see the chart as SVG, a page at a time, with its PDF and PNG
// to download. Everything goes through the service's own API.
"use strict";

const state = {file: null, page: 1, pages: 0, drawing: 0};

function byId(id) {
    return document.getElementById(id);
}

function showStatus(text, isError) {
    const status = byId("status");
    status.textContent = text;
    status.classList.toggle("error", Boolean(isError));
}

// A readings document or FHIR Bundle is JSON; anything else is a data text.
function isJson(file) {
    return /\.json$/i.test(file.name) || file.type === "application/json";
}

function chartUrl(format, page) {
    const query = new URLSearchParams({template: byId("template").value, format: format});
    if (page) query.set("page", String(page));
    if (isJson(state.file)) query.set("profile", byId("profile").value);
    return "v1/charts?" + query.toString();
}

// The chart in a format, or an Error carrying the problem's detail.
async function fetchChart(format, page) {
    const response = await fetch(chartUrl(format, page), {
        method: "POST",
        headers: {"Content-Type": isJson(state.file) ? "application/json" : "text/plain"},
        body: state.file,
    });
    if (!response.ok) {
        let detail = response.status + " " + response.statusText;
        try {
            const problem = await response.json();
            detail = problem.title + ": " + problem.detail;
            for (const error of problem.errors || []) detail += "\n" + error.pointer + ": " + error.detail;
        } catch (ignored) {
            // not a problem document: the status says enough
        }
        throw new Error(detail);
    }
    return response;
}

function updatePages() {
    byId("pages").hidden = state.pages === 0;
    byId("page-number").textContent = "page " + state.page + " of " + state.pages;
    byId("previous").disabled = state.page <= 1;
    byId("next").disabled = state.page >= state.pages;
}

async function draw() {
    if (!state.file || !byId("template").value) return;
    const drawing = ++state.drawing;
    showStatus("Drawing " + state.file.name + " …");
    try {
        const response = await fetchChart("svg", state.page);
        const text = await response.text();
        if (drawing !== state.drawing) return;  // a newer drawing is on its way
        const svg = new DOMParser().parseFromString(text, "image/svg+xml").documentElement;
        if (svg.namespaceURI !== "http://www.w3.org/2000/svg") throw new Error("the chart is no SVG drawing");
        state.pages = Number(response.headers.get("Chart-Page-Count")) || 1;
        byId("chart").replaceChildren(document.importNode(svg, true));
        updatePages();
        const warnings = Number(response.headers.get("Chart-Warnings")) || 0;
        showStatus(state.file.name + (warnings ? " — " + warnings + " readings could not be charted" : ""));
    } catch (error) {
        if (drawing !== state.drawing) return;
        byId("chart").replaceChildren();
        state.pages = 0;
        updatePages();
        showStatus(error.message, true);
    }
}

async function download(format) {
    if (!state.file) return;
    try {
        // A PDF holds every page; a picture is the page shown.
        const response = await fetchChart(format, format === "pdf" ? 0 : state.page);
        const url = URL.createObjectURL(await response.blob());
        const link = document.createElement("a");
        const stem = byId("template").value + (format === "pdf" ? "" : "-" + state.page);
        link.href = url;
        link.download = stem + "." + format;
        document.body.append(link);
        link.click();
        link.remove();
        setTimeout(() => URL.revokeObjectURL(url), 10000);
    } catch (error) {
        showStatus(error.message, true);
    }
}

function choose(file) {
    if (!file) return;
    state.file = file;
    state.page = 1;
    byId("profile-label").hidden = !isJson(file);
    byId("drop-text").textContent = file.name;
    draw();
}

async function fillList(id, url, key, label) {
    const select = byId(id);
    const response = await fetch(url);
    if (!response.ok) throw new Error(url + ": " + response.status);
    for (const entry of (await response.json())[key]) {
        const option = document.createElement("option");
        option.value = typeof entry === "string" ? entry : entry.name;
        option.textContent = label(entry);
        select.append(option);
    }
}

async function start() {
    byId("profile-label").hidden = true;
    byId("file").addEventListener("change", (event) => choose(event.target.files[0]));
    const drop = byId("drop");
    drop.addEventListener("dragover", (event) => {
        event.preventDefault();
        drop.classList.add("over");
    });
    drop.addEventListener("dragleave", () => drop.classList.remove("over"));
    drop.addEventListener("drop", (event) => {
        event.preventDefault();
        drop.classList.remove("over");
        choose(event.dataTransfer.files[0]);
    });
    for (const id of ["template", "profile"]) {
        byId(id).addEventListener("change", () => {
            state.page = 1;
            draw();
        });
    }
    byId("previous").addEventListener("click", () => {
        state.page -= 1;
        draw();
    });
    byId("next").addEventListener("click", () => {
        state.page += 1;
        draw();
    });
    byId("download-pdf").addEventListener("click", () => download("pdf"));
    byId("download-png").addEventListener("click", () => download("png"));
    try {
        await fillList("template", "v1/templates", "templates", (t) =>
            t.width ? t.name + " (" + t.width + " × " + t.height + " mm)" : t.name);
        await fillList("profile", "v1/profiles", "profiles", (name) => name);
        showStatus("Choose a data text or a readings document.");
    } catch (error) {
        showStatus("The service cannot be reached: " + error.message, true);
    }
    document.body.dataset.ready = "true";
}

start();

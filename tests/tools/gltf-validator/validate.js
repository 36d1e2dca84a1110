// Validates a .gltf file and the files it names beside it with the glTF
// validator pinned in package.json:
//   node validate.js FILE.gltf
// Prints the validator's report as JSON (without its timestamp) and exits
// with 1 if it has any error or warning, 2 if the file could not be read at
// all, else 0.
"use strict";

const fs = require("fs");
const path = require("path");
const validator = require("gltf-validator");

if (process.argv.length !== 3) {
    console.error("usage: node validate.js FILE.gltf");
    process.exit(2);
}
const file = process.argv[2];
const SEVERITIES = ["error", "warning", "info", "hint"];

function readBeside(uri) {
    // The validator passes relative URIs as they are written, percent-encoding and all.
    const resource = path.resolve(path.dirname(file), decodeURIComponent(uri));
    return fs.promises.readFile(resource).then((data) => new Uint8Array(data));
}

fs.promises
    .readFile(file)
    .then((data) =>
        validator.validateBytes(new Uint8Array(data), {
            externalResourceFunction: readBeside,
            writeTimestamp: false,
            maxIssues: 0,
        })
    )
    .then(
        (report) => {
            console.log(JSON.stringify(report, null, 2));
            const issues = report.issues;
            for (const message of issues.messages) {
                const where = message.pointer ? " at " + message.pointer : "";
                console.error(`${SEVERITIES[message.severity]} ${message.code}${where}: ${message.message}`);
            }
            process.exit(issues.numErrors > 0 || issues.numWarnings > 0 ? 1 : 0);
        },
        (problem) => {
            console.error(`Could not validate ${file}: ${problem}`);
            process.exit(2);
        }
    );

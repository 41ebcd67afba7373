// Reads each workflow as the host does, with GitHub's own parser: every key and value
// against the host's workflow schema, and every expression in ${{ }}. A workflow the
// host would reject fails here instead of on the first push. Prints each error with its
// file, line and column, and exits non-zero when there is any.
//   node scripts/workflow-check/check.mjs [workflow.yml ...]   (default: .github/workflows/*)
import { readdirSync, readFileSync } from "node:fs";
import { register } from "node:module";
import { join } from "node:path";

// The parser imports its schema as a plain JSON module, as bundlers allow; Node's loader
// wants the JSON import attribute there, so the hook below asks for JSON on its behalf.
register(
  "data:text/javascript," +
    encodeURIComponent(`export async function load(url, context, next) {
      if (url.endsWith(".json")) return next(url, { ...context, importAttributes: { type: "json" } });
      return next(url, context);
    }`),
);
const { convertWorkflowTemplate, NoOperationTraceWriter, parseWorkflow } = await import("@actions/workflow-parser");

const folder = join(".github", "workflows");
const files =
  process.argv.length > 2
    ? process.argv.slice(2)
    : readdirSync(folder)
        .filter((name) => /\.ya?ml$/.test(name))
        .map((name) => join(folder, name));
if (files.length === 0) {
  console.error(`no workflow in ${folder}`);
  process.exit(1);
}

let errors = 0;
for (const file of files) {
  const parsed = parseWorkflow({ name: file, content: readFileSync(file, "utf8") }, new NoOperationTraceWriter());
  // The conversion checks what the schema alone cannot, such as a job needing one that
  // does not exist.
  if (parsed.value) await convertWorkflowTemplate(parsed.context, parsed.value);
  for (const error of parsed.context.errors.getErrors()) {
    // The parser's own message already names the file and, where it has one, the position.
    console.error(error.message);
    errors++;
  }
}
console.log(`workflows: ${files.length} checked, ${errors} error(s)`);
process.exit(errors > 0 ? 1 : 0);

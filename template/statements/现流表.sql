-- Cash-flow statement, small-enterprise layout (会小企03表): the 22 lines of
-- the form plus a heading line for each of the three activities, 25 lines in
-- all. The headings are numbered too, which puts 四、现金净增加额 on line 23,
-- the line the statements window checks against the actual change in cash.
-- Headings have no formula.
--
-- A formula joins cash-flow item codes with + and -. Voucher lines carry
-- their cash-flow amounts as positive figures, so receipts (second digit 0)
-- are added and payments (second digit 1) subtracted. Each item line is its
-- own code; each net line takes all items of its activity, and 现金净增加额
-- takes every item. 888 and 999 are two codes the statement fills in
-- itself: cash at the start of the period and cash at its end.

INSERT INTO 现流表 (序号, 项目, 行次, 公式) VALUES (1, '一、经营活动产生的现金流量：', 1, NULL);
INSERT INTO 现流表 (序号, 项目, 行次, 公式) VALUES (2, '销售产成品、商品、提供劳务收到的现金', 2, '101');
INSERT INTO 现流表 (序号, 项目, 行次, 公式) VALUES (3, '收到其他与经营活动有关的现金', 3, '102');
INSERT INTO 现流表 (序号, 项目, 行次, 公式) VALUES (4, '购买原材料、商品、接受劳务支付的现金', 4, '111');
INSERT INTO 现流表 (序号, 项目, 行次, 公式) VALUES (5, '支付的职工薪酬', 5, '112');
INSERT INTO 现流表 (序号, 项目, 行次, 公式) VALUES (6, '支付的税费', 6, '113');
INSERT INTO 现流表 (序号, 项目, 行次, 公式) VALUES (7, '支付其他与经营活动有关的现金', 7, '114');
INSERT INTO 现流表 (序号, 项目, 行次, 公式) VALUES (8, '经营活动产生的现金流量净额', 8, '101+102-111-112-113-114');
INSERT INTO 现流表 (序号, 项目, 行次, 公式) VALUES (9, '二、投资活动产生的现金流量：', 9, NULL);
INSERT INTO 现流表 (序号, 项目, 行次, 公式) VALUES (10, '收回短期投资、长期债券投资和长期股权投资收到的现金', 10, '201');
INSERT INTO 现流表 (序号, 项目, 行次, 公式) VALUES (11, '取得投资收益收到的现金', 11, '202');
INSERT INTO 现流表 (序号, 项目, 行次, 公式) VALUES (12, '处置固定资产、无形资产和其他非流动资产收回的现金净额', 12, '203');
INSERT INTO 现流表 (序号, 项目, 行次, 公式) VALUES (13, '短期投资、长期债券投资和长期股权投资支付的现金', 13, '211');
INSERT INTO 现流表 (序号, 项目, 行次, 公式) VALUES (14, '购建固定资产、无形资产和其他非流动资产支付的现金', 14, '212');
INSERT INTO 现流表 (序号, 项目, 行次, 公式) VALUES (15, '投资活动产生的现金流量净额', 15, '201+202+203-211-212');
INSERT INTO 现流表 (序号, 项目, 行次, 公式) VALUES (16, '三、筹资活动产生的现金流量：', 16, NULL);
INSERT INTO 现流表 (序号, 项目, 行次, 公式) VALUES (17, '取得借款收到的现金', 17, '301');
INSERT INTO 现流表 (序号, 项目, 行次, 公式) VALUES (18, '吸收投资者投资收到的现金', 18, '302');
INSERT INTO 现流表 (序号, 项目, 行次, 公式) VALUES (19, '偿还借款本金支付的现金', 19, '311');
INSERT INTO 现流表 (序号, 项目, 行次, 公式) VALUES (20, '偿还借款利息支付的现金', 20, '312');
INSERT INTO 现流表 (序号, 项目, 行次, 公式) VALUES (21, '分配利润支付的现金', 21, '313');
INSERT INTO 现流表 (序号, 项目, 行次, 公式) VALUES (22, '筹资活动产生的现金流量净额', 22, '301+302-311-312-313');
INSERT INTO 现流表 (序号, 项目, 行次, 公式) VALUES (23, '四、现金净增加额', 23, '101+102-111-112-113-114+201+202+203-211-212+301+302-311-312-313');
INSERT INTO 现流表 (序号, 项目, 行次, 公式) VALUES (24, '加：期初现金余额', 24, '888');
INSERT INTO 现流表 (序号, 项目, 行次, 公式) VALUES (25, '五、期末现金余额', 25, '999');
